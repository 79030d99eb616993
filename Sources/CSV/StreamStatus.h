#pragma once

namespace csv {

// Life of a stream: created closed-to-the-world (`notOpen`), `open` until the
// data ends (`atEnd`, input only) or someone closes it; `error` after a failed
// open or a failed transfer.
enum class StreamStatus { notOpen, open, atEnd, closed, error };

// Opens a stream that was never opened (a closed one stays closed) and tells
// whether it is open now: readers and writers refuse any other stream.
template <typename Stream>
bool openIfNeeded(Stream& stream)
{
    if (stream.streamStatus() == StreamStatus::notOpen)
        stream.open();
    return stream.streamStatus() == StreamStatus::open;
}

} // namespace csv
