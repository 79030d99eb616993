#pragma once

namespace csv {

// Life of a stream: created closed-to-the-world (`notOpen`), `open` until the
// data ends (`atEnd`, input only) or someone closes it; `error` after a failed
// open or a failed transfer.
enum class StreamStatus { notOpen, open, atEnd, closed, error };

} // namespace csv
