// Where one download stands. Every step of a downloader is a transition that
// the table below allows, so late, repeated or cancelled events do nothing.
//
//   initial    -> scheduled
//   scheduled  -> loading, finishing, finished, cancelling
//   loading    -> finishing, failed, cancelling
//   finishing  -> finished, failed
//   finished   -> scheduled
//   failed     -> scheduled
//   cancelling -> cancelled
//   cancelled  -> scheduled
#pragma once

namespace remoteimage {

enum class LoadingState {
    initial,
    scheduled,
    loading,
    finishing,
    finished,
    failed,
    cancelling,
    cancelled,
};

constexpr bool canTransition(LoadingState from, LoadingState to)
{
    using S = LoadingState;
    switch (from) {
    case S::initial:
        return to == S::scheduled;
    case S::scheduled:
        return to == S::loading || to == S::finishing || to == S::finished || to == S::cancelling;
    case S::loading:
        return to == S::finishing || to == S::failed || to == S::cancelling;
    case S::finishing:
        return to == S::finished || to == S::failed;
    case S::finished:
    case S::failed:
    case S::cancelled:
        return to == S::scheduled;
    case S::cancelling:
        return to == S::cancelled;
    }
    return false;
}

const char* toString(LoadingState state);

} // namespace remoteimage
