#include "engine/EngineNotice.h"

#include "engine/EngineLog.h"

#include <QByteArray>

#include <mpv/client.h>

namespace korvel {

EngineNotice EngineNotice::of(const mpv_event& event) {
    EngineNotice notice;
    notice.id = event.event_id;
    if (event.event_id == MPV_EVENT_START_FILE) {
        notice.entry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
    } else if (event.event_id == MPV_EVENT_END_FILE) {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        notice.entry = end->playlist_entry_id;
        notice.reason = end->reason;
        notice.error = end->error;
        notice.insertedEntry = end->playlist_insert_id;
        notice.inserted = end->playlist_insert_num_entries;
    } else if (event.event_id == MPV_EVENT_PROPERTY_CHANGE) {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        notice.property = event.reply_userdata;
        notice.available = property->format != MPV_FORMAT_NONE;
        if (property->format == MPV_FORMAT_DOUBLE)
            notice.number = *static_cast<const double*>(property->data);
        if (property->format == MPV_FORMAT_FLAG)
            notice.number = *static_cast<const int*>(property->data);
    } else if (event.event_id == MPV_EVENT_LOG_MESSAGE) {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        qCInfo(EngineLog::category(), "%s: %s: %s", message->level, message->prefix,
               QByteArray(message->text).trimmed().constData());
    }
    return notice;
}

} // namespace korvel
