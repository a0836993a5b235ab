#include "monitor/widget/controlbyclass/ControlByClassWidget.h"

#include "base/Logging.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/CProgramDiaryDialog.h"
#include "widgets/safetools/ToolsWidget.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

namespace {

// String pool entries of the grid's colours.
constexpr int kTextTitleColour = 4003;
constexpr int kTextSubTitleColour = 4004;
constexpr int kTextHoverColour = 4005;
constexpr int kTextBorderColour = 4006;

constexpr int kButtonSpacing = 3;

// The grid's catalogue ids: the record categories in their grid order.
QString CategoryIds()
{
    QStringList ids;
    for (const int id : RecordCategory::kAll) {
        ids << QString::number(id);
    }
    return ids.join(',');
}

} // namespace

ControlByClassWidget::ControlByClassWidget(QWidget* parent) : QWidget(parent)
{
    resize(700, 400);
    move(0, 90);
}

void ControlByClassWidget::initShow()
{
    auto* grid = new ToolsWidget(this);
    grid->setButtonStyle(CControlSetting::Text(kTextTitleColour),
                         CControlSetting::Text(kTextSubTitleColour),
                         CControlSetting::Text(kTextHoverColour),
                         CControlSetting::Text(kTextBorderColour), true, kButtonSpacing);
    connect(grid, &ToolsWidget::sigToolButtonClicked, this,
            &ControlByClassWidget::sltToolButtonClicked);
    grid->initShow(CategoryIds());
    grid->adjustSize();
    grid->move(0, 0);
    grid->show();
}

// static
bool ControlByClassWidget::IsCategory(int id)
{
    return RecordCategory::IsKnown(id);
}

void ControlByClassWidget::sltToolButtonClicked(int id)
{
    LOG_TRACE << "click id:" << id;
    if (!IsCategory(id)) {
        LOG_ERROR << "no diary for id " << id << ": not a record category.";
        return;
    }
    const QPointer<QDialog> dialog = createDiaryDialog(id);
    if (dialog.isNull()) {
        return;
    }
    dialog->exec();
    delete dialog.data();
}

QDialog* ControlByClassWidget::createDiaryDialog(int id)
{
    return CProgramDiaryDialog::create(id, this);
}
