#include "reports/report.h"

namespace report {

Cell field(int index)
{
    return [index](const Row &row, int) { return row.value(index).toString(); };
}

Cell field(int index, std::function<QString(const QString &)> transform)
{
    return [index, transform = std::move(transform)](const Row &row, int) {
        return transform(row.value(index).toString());
    };
}

Cell runningNumber()
{
    return [](const Row &, int number) { return QString::number(number); };
}

}  // namespace report
