#pragma once

#include <QString>

namespace korvel {

// Why the media engine failed, by its error number, in Korvel's own words and so in the
// language Korvel shows: the engine's own texts are English only.
class EngineFailure {
public:
    static QString text(int status);
};

} // namespace korvel
