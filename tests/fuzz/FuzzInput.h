#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: a broken invariant ends the run at once with its reason, so
// the fuzzer (or the corpus replay) reports the input that broke it; and a reader of the
// input's bytes that hands out fields one by one, running dry quietly.
namespace korvel::fuzz {

[[noreturn]] inline void broken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

inline void check(bool ok, const char* what) {
    if (!ok) broken(what);
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), qsizetype(size)) {}

    bool atEnd() const { return m_at >= m_bytes.size(); }
    qsizetype remaining() const { return m_bytes.size() - m_at; }

    std::uint8_t byte() { return atEnd() ? 0 : std::uint8_t(m_bytes[m_at++]); }

    std::uint32_t u32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | byte();
        return value;
    }

    // Up to `limit` bytes, as many as the next byte says.
    QByteArrayView bytes(qsizetype limit) {
        const qsizetype asked = byte(); // read before what remains is measured
        const qsizetype wanted = qMin(qMin(asked, limit), remaining());
        const QByteArrayView part = m_bytes.sliced(m_at, wanted);
        m_at += wanted;
        return part;
    }

    // The next `count` bytes, fewer where the input ends first.
    QByteArrayView take(qsizetype count) {
        const QByteArrayView part = m_bytes.sliced(m_at, qMin(count, remaining()));
        m_at += part.size();
        return part;
    }

    QByteArrayView rest() {
        const QByteArrayView part = m_bytes.sliced(m_at);
        m_at = m_bytes.size();
        return part;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

} // namespace korvel::fuzz
