#include "universal_input_page.h"

#include "field_binder.h"
#include "field_schema.h"
#include "language.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const ed::Text kHeading{"  #           Data             ADC", "  #           Показания        АЦП"};
const ed::Text kPoints[2] = {{"Min", "Мин"}, {"Max", "Макс"}};
const char *const kEdits[2][2] = {{"seUniMeasDat0", "seUniMeasADC0"}, {"seUniMeasDat1", "seUniMeasADC1"}};

} // namespace

TUniversalInputPage::TUniversalInputPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    auto *group = new QGroupBox(LangText("Calibration", "Калибровка"), this);
    auto *grid = new QGridLayout(group);
    // The heading's three words head the columns.
    const QStringList heading = kHeading.get().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int c = 0; c < heading.size(); ++c)
        grid->addWidget(new QLabel(heading[c], group), 0, c);
    // The edits' own captions name them for the command line; here the heading
    // and the point names say it, so their labels stay in a hidden holder.
    auto *holder = new QWidget(this);
    holder->hide();
    for (int point = 0; point < 2; ++point) {
        grid->addWidget(new QLabel(kPoints[point].get(), group), point + 1, 0);
        for (int c = 0; c < 2; ++c) {
            TFieldControl *control = context.binder.control(kEdits[point][c], holder);
            grid->addWidget(control->widget(), point + 1, c + 1);
        }
    }
    grid->setColumnMinimumWidth(1, 90);
    grid->setColumnMinimumWidth(2, 90);

    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->addWidget(group);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
}

TEditorPage *MakeUniversalInputPage(TEditorContext &context, QWidget *parent)
{
    return new TUniversalInputPage(context, parent);
}
