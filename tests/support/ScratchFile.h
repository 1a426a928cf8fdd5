#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvel::test {

// Writes `bytes` to `name` in `dir` and gives the file's path, as another program would have
// left the file there.
inline QString scratchFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name;
    file.write(bytes);
    return file.fileName();
}

} // namespace korvel::test
