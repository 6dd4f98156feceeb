#include "app/remembered_columns.h"

#include "app/operator_settings.h"

#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QRegularExpression>
#include <QTableView>

namespace remembered_columns {
namespace {

const char *const kKeyProperty = "rememberedColumnsKey";

// The window class of the screen or further window the grid is on ("Tfrmzglr", "TFrmgsygztj").
QString screenClassOf(const QWidget &grid)
{
    static const QRegularExpression screenClass(QStringLiteral("^T(frm|Frm|rep)\\w+$"));
    for (const QWidget *w = grid.parentWidget(); w; w = w->parentWidget())
        if (screenClass.match(w->objectName()).hasMatch())
            return w->objectName();
    return grid.window()->objectName();
}

QString gridNameOf(const QTableView &grid, const QString &screenClass)
{
    if (!grid.objectName().isEmpty())
        return grid.objectName();
    const QWidget *screen = &grid;
    while (screen->parentWidget() && screen->objectName() != screenClass)
        screen = screen->parentWidget();
    // Grids are made in the same order at every opening of a screen.
    const QList<QTableView *> grids = screen->findChildren<QTableView *>();
    return QStringLiteral("grid%1").arg(grids.indexOf(const_cast<QTableView *>(&grid)));
}

class ColumnMemory : public QObject {
public:
    explicit ColumnMemory(QTableView &grid) : QObject(&grid), grid_(grid), header_(*grid.horizontalHeader())
    {
        header_.setSectionsMovable(true);  // so the person can put the columns in his or her order
        grid.installEventFilter(this);
        header_.viewport()->installEventFilter(this);
        connect(&header_, &QHeaderView::sectionResized, this, &ColumnMemory::resized);
        connect(&header_, &QHeaderView::sectionMoved, this, [this] {
            if (!applying_)
                saveOrder();
        });
        connect(&header_, &QHeaderView::sectionCountChanged, this, &ColumnMemory::applyLater);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &grid_ && event->type() == QEvent::Show && key_.isEmpty()) {
            const QString screen = screenClassOf(grid_);
            key_ = "columns/" + screen + '/' + gridNameOf(grid_, screen);
            grid_.setProperty(kKeyProperty, key_);
            applyLater();
        } else if (watched == header_.viewport()) {
            // Widths change by the person's hand only while a mouse button is down on the titles.
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
                byHand_ = true;
            else if (event->type() == QEvent::MouseButtonRelease)
                byHand_ = false;
        }
        return false;
    }

private:
    QString title(int logical) const
    {
        return grid_.model() ? grid_.model()->headerData(logical, Qt::Horizontal).toString() : QString();
    }

    void resized(int logical, int, int width)
    {
        if (applying_ || key_.isEmpty())
            return;
        if (!byHand_) {
            // The grid fitted its columns to new rows: the remembered widths win again.
            applyLater();
            return;
        }
        QVariantMap widths = operator_settings::value(key_ + "/widths").toMap();
        widths.insert(title(logical), width);
        operator_settings::setValue(key_ + "/widths", widths);
    }

    void saveOrder()
    {
        if (key_.isEmpty())
            return;
        QStringList order;
        for (int visual = 0; visual < header_.count(); ++visual)
            order << title(header_.logicalIndex(visual));
        operator_settings::setValue(key_ + "/order", order);
    }

    void applyLater()
    {
        if (pending_ || key_.isEmpty())
            return;
        pending_ = true;
        // After the grid's own fitting, which it also queues.
        QMetaObject::invokeMethod(this, [this] { apply(); }, Qt::QueuedConnection);
    }

    void apply()
    {
        pending_ = false;
        if (!grid_.model())
            return;
        const QVariantMap widths = operator_settings::value(key_ + "/widths").toMap();
        const QStringList order = operator_settings::value(key_ + "/order").toStringList();
        applying_ = true;
        QHash<QString, int> logicalOf;
        for (int logical = 0; logical < header_.count(); ++logical)
            logicalOf.insert(title(logical), logical);
        int place = 0;
        for (const QString &t : order) {
            const auto found = logicalOf.constFind(t);
            if (found == logicalOf.constEnd())
                continue;
            header_.moveSection(header_.visualIndex(*found), place++);
        }
        for (auto it = widths.constBegin(); it != widths.constEnd(); ++it) {
            const auto found = logicalOf.constFind(it.key());
            if (found != logicalOf.constEnd() && it.value().toInt() > 0)
                header_.resizeSection(*found, it.value().toInt());
        }
        applying_ = false;
    }

    QTableView &grid_;
    QHeaderView &header_;
    QString key_;
    bool byHand_ = false;
    bool applying_ = false;
    bool pending_ = false;
};

}  // namespace

void attach(QTableView &grid) { new ColumnMemory(grid); }

QString keyOf(const QTableView &grid) { return grid.property(kKeyProperty).toString(); }

}  // namespace remembered_columns
