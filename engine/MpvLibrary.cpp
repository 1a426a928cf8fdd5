#include "engine/MpvLibrary.h"

#include "engine/EngineLibraryOrder.h"
#include "engine/EngineLog.h"

// The engine's functions defined here stay inside the program: the GUI library exports none
// of them, and the engine library, opened on its own, binds only to its own.
#include <mpv/client.h>
#include <mpv/render.h>

#include <dlfcn.h>

namespace korvel {

namespace {

// Every engine function the program uses, as the engine's header declares it.
#define KORVEL_MPV_FUNCTIONS(X)                                                                    \
    X(mpv_command)                                                                                 \
    X(mpv_command_ret)                                                                             \
    X(mpv_create)                                                                                  \
    X(mpv_error_string)                                                                            \
    X(mpv_free)                                                                                    \
    X(mpv_free_node_contents)                                                                      \
    X(mpv_get_property)                                                                            \
    X(mpv_get_property_string)                                                                     \
    X(mpv_get_time_us)                                                                             \
    X(mpv_initialize)                                                                              \
    X(mpv_observe_property)                                                                        \
    X(mpv_render_context_create)                                                                   \
    X(mpv_render_context_free)                                                                     \
    X(mpv_render_context_get_info)                                                                 \
    X(mpv_render_context_render)                                                                   \
    X(mpv_render_context_report_swap)                                                              \
    X(mpv_render_context_set_update_callback)                                                      \
    X(mpv_render_context_update)                                                                   \
    X(mpv_request_log_messages)                                                                    \
    X(mpv_set_option_string)                                                                       \
    X(mpv_set_property)                                                                            \
    X(mpv_set_property_async)                                                                      \
    X(mpv_set_property_string)                                                                     \
    X(mpv_set_wakeup_callback)                                                                     \
    X(mpv_terminate_destroy)                                                                       \
    X(mpv_wait_event)

struct Functions {
#define KORVEL_MPV_FIELD(name) decltype(&::name) name = nullptr;
    KORVEL_MPV_FUNCTIONS(KORVEL_MPV_FIELD)
#undef KORVEL_MPV_FIELD
    QString failure;
};

// The engine library's own libraries, a couple of hundred, each opened on its own, deepest
// first. Opened all at once from the engine library, each would look up its symbols through
// all of them in load order, and most of the wait for a clip would be that search; opened on
// its own, a library finds its symbols among its own dependencies, within a few places. Each
// is bound at once: one that could not find a symbol among its own dependencies fails here,
// and then comes with the engine library as usual, as does one this machine lacks. The
// engine library's own opening tells what is missing.
void openEngineLibrariesDeepestFirst() {
    for (const char* name : EngineLibraryOrder) ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    (void)::dlerror();
}

// Opened once, on first use, and kept open for the rest of the run: engines come and go,
// but the library's threads and state outlive any one of them.
Functions open() {
    Functions f;
    openEngineLibrariesDeepestFirst();
    // Bound lazily: of the many thousand symbols of the libraries it brings, binding each up
    // front lengthens every start with a clip, and most are never called.
    void* library = ::dlopen(EngineLibrary, RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        f.failure = QString::fromLocal8Bit(::dlerror());
        return f;
    }
#define KORVEL_MPV_RESOLVE(name)                                                                   \
    f.name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name));                         \
    if (!f.name) f.failure = QString::fromLatin1(EngineLibrary) + QStringLiteral(" lacks " #name);
    KORVEL_MPV_FUNCTIONS(KORVEL_MPV_RESOLVE)
#undef KORVEL_MPV_RESOLVE
    EngineLog::quietenCompanions();
    return f;
}

const Functions& functions() {
    static const Functions loaded = open();
    return loaded;
}

} // namespace

bool MpvLibrary::load() { return functions().failure.isEmpty(); }

std::jthread MpvLibrary::preload() {
    // Written here, on the main thread: the environment is no place to write to while the
    // library's own start-up reads it on the other thread.
    EngineLog::quietenCompanions();
    return std::jthread([] { load(); });
}

QString MpvLibrary::failure() { return functions().failure; }

} // namespace korvel

using korvel::functions;

// mpv_create is the one way in: it fails (as the engine's own does) when the library cannot
// be had, and nothing else is called without the handle it gives.
extern "C" {

mpv_handle* mpv_create(void) {
    return korvel::MpvLibrary::load() ? functions().mpv_create() : nullptr;
}

const char* mpv_error_string(int error) {
    return korvel::MpvLibrary::load() ? functions().mpv_error_string(error) : "no media engine";
}

int mpv_initialize(mpv_handle* ctx) { return functions().mpv_initialize(ctx); }

void mpv_terminate_destroy(mpv_handle* ctx) { functions().mpv_terminate_destroy(ctx); }

void mpv_free(void* data) { functions().mpv_free(data); }

void mpv_free_node_contents(mpv_node* node) { functions().mpv_free_node_contents(node); }

int mpv_set_option_string(mpv_handle* ctx, const char* name, const char* data) {
    return functions().mpv_set_option_string(ctx, name, data);
}

int mpv_command(mpv_handle* ctx, const char** args) { return functions().mpv_command(ctx, args); }

int mpv_command_ret(mpv_handle* ctx, const char** args, mpv_node* result) {
    return functions().mpv_command_ret(ctx, args, result);
}

int mpv_set_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    return functions().mpv_set_property(ctx, name, format, data);
}

int mpv_set_property_async(mpv_handle* ctx, std::uint64_t reply, const char* name,
                           mpv_format format, void* data) {
    return functions().mpv_set_property_async(ctx, reply, name, format, data);
}

int mpv_set_property_string(mpv_handle* ctx, const char* name, const char* data) {
    return functions().mpv_set_property_string(ctx, name, data);
}

int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    return functions().mpv_get_property(ctx, name, format, data);
}

char* mpv_get_property_string(mpv_handle* ctx, const char* name) {
    return functions().mpv_get_property_string(ctx, name);
}

int64_t mpv_get_time_us(mpv_handle* ctx) { return functions().mpv_get_time_us(ctx); }

int mpv_observe_property(mpv_handle* mpv, uint64_t reply_userdata, const char* name,
                         mpv_format format) {
    return functions().mpv_observe_property(mpv, reply_userdata, name, format);
}

int mpv_request_log_messages(mpv_handle* ctx, const char* min_level) {
    return functions().mpv_request_log_messages(ctx, min_level);
}

mpv_event* mpv_wait_event(mpv_handle* ctx, double timeout) {
    return functions().mpv_wait_event(ctx, timeout);
}

void mpv_set_wakeup_callback(mpv_handle* ctx, void (*cb)(void* d), void* d) {
    functions().mpv_set_wakeup_callback(ctx, cb, d);
}

int mpv_render_context_create(mpv_render_context** res, mpv_handle* mpv, mpv_render_param* params) {
    return functions().mpv_render_context_create(res, mpv, params);
}

void mpv_render_context_set_update_callback(mpv_render_context* ctx, mpv_render_update_fn callback,
                                            void* callback_ctx) {
    functions().mpv_render_context_set_update_callback(ctx, callback, callback_ctx);
}

uint64_t mpv_render_context_update(mpv_render_context* ctx) {
    return functions().mpv_render_context_update(ctx);
}

int mpv_render_context_render(mpv_render_context* ctx, mpv_render_param* params) {
    return functions().mpv_render_context_render(ctx, params);
}

void mpv_render_context_report_swap(mpv_render_context* ctx) {
    functions().mpv_render_context_report_swap(ctx);
}

void mpv_render_context_free(mpv_render_context* ctx) { functions().mpv_render_context_free(ctx); }

int mpv_render_context_get_info(mpv_render_context* ctx, mpv_render_param param) {
    return functions().mpv_render_context_get_info(ctx, param);
}

} // extern "C"
