#pragma once
// Helpers shared by the file version tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tintara::test {

// The whole content of a file; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace tintara::test
