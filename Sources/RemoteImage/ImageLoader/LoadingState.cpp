#include "RemoteImage/ImageLoader/LoadingState.h"

namespace remoteimage {

const char* toString(LoadingState state)
{
    switch (state) {
    case LoadingState::initial: return "initial";
    case LoadingState::scheduled: return "scheduled";
    case LoadingState::loading: return "loading";
    case LoadingState::finishing: return "finishing";
    case LoadingState::finished: return "finished";
    case LoadingState::failed: return "failed";
    case LoadingState::cancelling: return "cancelling";
    case LoadingState::cancelled: return "cancelled";
    }
    return "?";
}

} // namespace remoteimage
