#include "engine/picture/PictureDecoder.h"

namespace korvel {

// The engine says "no" (or nothing, before a decoder is chosen) for its software decoders.
QByteArray PictureDecoder::describe(const QString& current) {
    if (current.isEmpty() || current == u"no") return "picture decoded in software";
    return "picture decoded in hardware (" + current.toUtf8() + ')';
}

} // namespace korvel
