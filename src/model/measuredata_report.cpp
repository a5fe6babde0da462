#include "measuredata_report.h"

#include <QChar>

QString MeasureReport::Number(double value, int width, int decimals)
{
    return QStringLiteral("%1").arg(value, width, 'f', decimals);
}

QString MeasureReport::Degrees()
{
    return QString(QChar(0x02DA)) + QLatin1Char('C');
}

void MeasureReport::Title(QStringList *lines, const QString &title)
{
    lines->append(title);
    lines->append(QString(64, QLatin1Char('=')));
    lines->append(QString());
}

void MeasureReport::Heading(QStringList *lines, const QString &heading)
{
    Heading_Rule(lines, heading);
    lines->append(QString());
}

void MeasureReport::Heading_Rule(QStringList *lines, const QString &heading)
{
    lines->append(heading);
    lines->append(QString(44, QLatin1Char('-')));
}

QString MeasureReport::Columns(std::initializer_list<double> values)
{
    QString line;
    for (const double value : values)
    {
        if (!line.isEmpty())
        {
            line += QLatin1String("  ");
        }
        line += Number(value, 12, 4);
    }
    return line;
}

void MeasureReport::Deviation_Heading(QStringList *lines, const QString &heading)
{
    Heading(lines, heading);
    lines->append(QStringLiteral("     Nominal        Actual      Deviation"));
    lines->append(QString());
}

void MeasureReport::Deviation_Line(QStringList *lines, double nominal, double actual)
{
    lines->append(Columns({nominal, actual, actual - nominal}));
}

void MeasureReport::Alignment_Lines(QStringList *lines, const TMat4 &alignment)
{
    static const char *const LABELS[4] = {"  X Axis: %1, %2, %3", "  Y Axis: %1, %2, %3",
                                          "  Z Axis: %1, %2, %3", "  Origin: %1, %2, %3"};
    for (int row = 0; row < 4; ++row)
    {
        const int decimals = row < 3 ? 9 : 4;
        lines->append(QString::fromLatin1(LABELS[row])
                          .arg(Number(alignment[4 * row], 12, decimals),
                               Number(alignment[4 * row + 1], 12, decimals),
                               Number(alignment[4 * row + 2], 12, decimals)));
    }
}

void MeasureReport::Alignment_Block(QStringList *lines, const TMat4 &alignment)
{
    Heading(lines, QStringLiteral("Alignment"));
    Alignment_Lines(lines, alignment);
    lines->append(QString());
}

void MeasureReport::Probe_Block(QStringList *lines, const TVector3 &offset, const TVector3 &vector)
{
    Heading(lines, QStringLiteral("Probe"));
    lines->append(QStringLiteral("  Offset: %1, %2, %3")
                      .arg(Number(offset.x, 12, 4), Number(offset.y, 12, 4), Number(offset.z, 12, 4)));
    lines->append(QStringLiteral("  Vector: %1, %2, %3")
                      .arg(Number(vector.x, 12, 9), Number(vector.y, 12, 9), Number(vector.z, 12, 9)));
    lines->append(QString());
}

void MeasureReport::Scale_Expansion_Block(QStringList *lines, const TVector3 &expansion)
{
    const QString unit = QStringLiteral(" um/m/") + Degrees();
    Heading(lines, QStringLiteral("Scale Expansion Coefficients"));
    lines->append(QStringLiteral("  X Axis: ") + Number(expansion.x, 0, 1) + unit);
    lines->append(QStringLiteral("  Y Axis: ") + Number(expansion.y, 0, 1) + unit);
    lines->append(QStringLiteral("  Z Axis: ") + Number(expansion.z, 0, 1) + unit);
    lines->append(QString());
}

void MeasureReport::Temperature_Block(QStringList *lines, double x_scale, double y_scale, double z_scale,
                                      double part)
{
    const QString unit = QLatin1Char(' ') + Degrees();
    Heading(lines, QStringLiteral("Axis and Part Temperature"));
    lines->append(QStringLiteral("  X Axis: ") + Number(x_scale, 0, 2) + unit);
    lines->append(QStringLiteral("  Y Axis: ") + Number(y_scale, 0, 2) + unit);
    lines->append(QStringLiteral("  Z Axis: ") + Number(z_scale, 0, 2) + unit);
    lines->append(QStringLiteral("  Part:   ") + Number(part, 0, 2) + unit);
    lines->append(QString());
}
