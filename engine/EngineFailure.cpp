#include "engine/EngineFailure.h"

#include "base/FixedTexts.h"

#include <mpv/client.h>

namespace korvel {

QString EngineFailure::text(int status) {
    switch (status) {
    case MPV_ERROR_LOADING_FAILED: return FixedTexts::EngineLoadingFailed;
    case MPV_ERROR_UNKNOWN_FORMAT: return FixedTexts::EngineUnknownFormat;
    case MPV_ERROR_NOTHING_TO_PLAY: return FixedTexts::EngineNothingToPlay;
    case MPV_ERROR_AO_INIT_FAILED: return FixedTexts::EngineNoSoundOutput;
    case MPV_ERROR_VO_INIT_FAILED: return FixedTexts::EngineNoPictureOutput;
    case MPV_ERROR_UNSUPPORTED:
    case MPV_ERROR_NOT_IMPLEMENTED: return FixedTexts::EngineNotSupported;
    case MPV_ERROR_NOMEM: return FixedTexts::EngineNoMemory;
    case MPV_ERROR_OPTION_NOT_FOUND:
    case MPV_ERROR_OPTION_FORMAT:
    case MPV_ERROR_OPTION_ERROR: return FixedTexts::EngineBadSetting;
    default:
        // The rest (a full event queue, a property the engine lacks, a generic failure) say
        // nothing a user could act on; the number lets the engine's log be searched.
        return FixedTexts::EngineOther.arg(status);
    }
}

} // namespace korvel
