#pragma once

// Measurement files of a chosen size for the benchmarks: an example file with its data lines replaced
// by as many generated entries as fit.

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct TKind
{
    const char *name;
    const char *example;
    // The first data line of the example begins with data_start; its data ends where data_end begins
    // (empty: at the end of the file). The generated file keeps what stands around the data.
    const char *data_start;
    const char *data_end;
    std::function<QByteArray(int)> entry;
};

namespace BenchFiles
{
// Every kind whose file can grow to the largest accepted size.
const std::vector<TKind> &Kinds();

// The whole file; exits the program when it cannot be read.
QByteArray Read(const QString &path);

// The example with its data lines replaced by as many generated entries as fit in size bytes.
QByteArray Generate(const TKind &kind, const QByteArray &example, qint64 size);
} // namespace BenchFiles
