#include "engine/EngineLog.h"

#include <QByteArray>

#include <cstdarg>
#include <cstdio>
#include <dlfcn.h>

namespace korvel {

namespace {

// The sound library's error hook; its messages come with printf-style arguments.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler handler);

__attribute__((format(printf, 5, 6))) void alsaError(const char* file, int line, const char*, int,
                                                     const char* format, ...) {
    if (!EngineLog::enabled()) return;
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    qCInfo(EngineLog::category(), "alsa: %s:%d: %s", file, line, text);
}

// Only a library already in the process is touched: the engine may have been built
// without it.
void quietenAlsa() {
    void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa) return;
    if (auto set =
            reinterpret_cast<SetAlsaErrorHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
        set(&alsaError);
    ::dlclose(alsa);
}

} // namespace

const QLoggingCategory& EngineLog::category() {
    static QLoggingCategory engine("korvel.engine", QtWarningMsg);
    static const bool asked = [] {
        if (qEnvironmentVariableIntValue("KORVEL_ENGINE_LOG") > 0)
            engine.setEnabled(QtInfoMsg, true);
        return true;
    }();
    Q_UNUSED(asked);
    return engine;
}

void EngineLog::quietenCompanions() {
    // The sound server's client library reads its log level when it starts; its warnings
    // (a missing configuration, a server that is not there) are the engine's business.
    if (!enabled() && qEnvironmentVariableIsEmpty("PIPEWIRE_DEBUG"))
        qputenv("PIPEWIRE_DEBUG", QByteArrayLiteral("0"));
    quietenAlsa();
}

} // namespace korvel
