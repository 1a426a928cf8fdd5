#include "engine/picture/ConversionThreads.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr const char* OneThread = "1";
constexpr const char* EngineChoice = "auto";

template <typename Values>
typename Values::value_type middle(Values values) {
    auto mid = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

} // namespace

const char* ConversionThreads::converted(QSize size, Duration took, Duration since) {
    if (size != m_size) {
        m_size = size;
        m_count = 0;
        if (m_told != OneThread) return m_told = OneThread;
    }
    if (m_cores <= 2 || m_told == EngineChoice || since <= Duration::zero()) return nullptr;
    m_took[m_count % Window] = took;
    m_since[m_count % Window] = since;
    if (++m_count < Window) return nullptr;
    if (middle(m_took) * 2 <= middle(m_since)) return nullptr;
    return m_told = EngineChoice;
}

} // namespace korvel
