#pragma once

#include <QString>

#include <functional>

namespace korvel {

// A location as another player's list gives it, made into the location of an entry. The
// names keep their bytes (PathBytes text); whether the engine may open what results is
// decided when the entry plays, by the same gate as every other location.
class ListLocation {
public:
    using Exists = std::function<bool(const QString& path)>;

    // A line of an M3U or PLS list:
    // - a URL ("scheme://..."): a file URL of this computer becomes its path, percent escapes
    //   undone byte by byte; any other URL stays as it is;
    // - an absolute path, or a Windows one ("C:\...", "\\server\..."): as it is;
    // - any other text is a path relative to the list's folder `folder`. Written on Windows,
    //   it parts its folders with "\": when no file has the name as written and one has it
    //   with "/" for "\", that one is taken (`exists` looks).
    static QString fromLine(const QString& line, const QString& folder, const Exists& exists = {});
    // The text of an XSPF location element, a URI reference: a file URI of this computer
    // becomes its path; any other URI stays as it is; a relative reference, percent escapes
    // undone, is a path relative to the list's folder.
    static QString fromUri(const QString& uri, const QString& folder);
    // The path of a local file a user or a second start named: an absolute path as it is, a
    // file URL of this computer as its path; empty for anything else.
    static QString localFile(const QString& location);

private:
    static QString relativeTo(const QString& path, const QString& folder);
};

} // namespace korvel
