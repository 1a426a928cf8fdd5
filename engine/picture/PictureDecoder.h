#pragma once

#include <QByteArray>
#include <QString>

namespace korvel {

// Where the engine decodes the picture: in software, as the engine does by default, unless
// the user asks for a hardware decoder (any value the engine's hwdec option takes, such as
// auto-safe or vaapi). A decoder the machine lacks, or a name the engine does not know,
// falls back to software in the engine; the engine log says which decoded each clip.
class PictureDecoder {
public:
    explicit PictureDecoder(QByteArray asked = {}) : m_asked(std::move(asked)) {}

    // The engine's hwdec value; `allowed` false keeps the picture in software.
    const char* value(bool allowed) const {
        return allowed && !m_asked.isEmpty() ? m_asked.constData() : "no";
    }
    // What the engine log says of a clip's decoder, from the engine's hwdec-current.
    static QByteArray describe(const QString& current);

private:
    QByteArray m_asked;
};

} // namespace korvel
