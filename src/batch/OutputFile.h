#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace dwell {

// Where a file is written. A regular file (or a new one) is replaced only
// once its new contents are complete, keeping the old file's permissions and
// written through links; a device, FIFO or open descriptor (/dev/stdout) is
// written directly, never replaced by a regular file.
namespace OutputFile {

// Empty when path can be written as above, else why not: asked before the
// work that produces the contents, so that nothing is wasted on a bad path.
QString problem(const QString &path);

enum class Reader { Wait, Refuse };

// Runs body on the file's device; false, with error set and the old file
// left as it was, when either the body or the file fails. A FIFO that no
// program reads is waited for, or refused.
using Body = std::function<bool(QIODevice &device, QString *error)>;
bool write(const QString &path, const Body &body, QString *error, Reader reader);

} // namespace OutputFile

} // namespace dwell
