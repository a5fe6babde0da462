// The nominal store reading a nominal file of any bytes, and the lookup the load pipeline makes.

#include "fuzz/fuzz_checks.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static TNominalStore store;
    static const QString file_name = QStringLiteral("SG_fuzz");
    if (store.Base_Folder().isEmpty())
    {
        store.Initialize(folder.path());
    }

    QFile file(store.Nominal_Folder() + QLatin1Char('/') + file_name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
    {
        FuzzChecks::Fail("cannot write the nominal file");
    }
    file.close();
    store.Update_Display();

    if (store.Load_Data(file_name))
    {
        for (const double value : store.Nominal_Values())
        {
            if (!std::isfinite(value))
            {
                FuzzChecks::Fail("a nominal value is not finite");
            }
        }
    }
    bool valid = false;
    const std::vector<double> values = store.Nominal_Data(QStringLiteral("fuzz"), &valid);
    if (valid != store.Load_Data(file_name) || (!valid && !values.empty()))
    {
        FuzzChecks::Fail("the lookup and the load disagree");
    }
    return 0;
}
