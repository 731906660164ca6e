#include "ui/dialog_template.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "ui/setup_dlg.h"
#include "ui/setup_dlg_ids.h"
#include "ui/setup_dlg_template.h"

namespace vantrel::ui {
namespace {

using namespace settings;

TEST(SetupDlgLayout, ControlsSitWhereTheTemplateScaledByTheFontPutsThem) {
  CSetupDlg dlg;
  DialogUnits units = DialogUnitsFor(dlg.font());
  const DialogTemplate& setup = SetupDialogTemplate();
  EXPECT_EQ(dlg.size(), QSize(units.X(setup.width), units.Y(setup.height)));
  for (const ControlSpec& spec : setup.controls) {
    if (spec.id == 0) continue;
    QRect placed = dlg.Control(spec.id)->geometry();
    EXPECT_EQ(placed.topLeft(), QPoint(units.X(spec.x), units.Y(spec.y))) << spec.id;
    EXPECT_EQ(placed.height(), units.Y(spec.height)) << spec.id;
    EXPECT_GE(placed.width(), units.X(spec.width)) << spec.id;
    EXPECT_LE(placed.right(), dlg.width()) << spec.id;
  }
  EXPECT_EQ(dlg.windowTitle(), "Vantrel Setup");
}

TEST(SetupDlgLayout, EveryCaptionFitsItsControl) {
  CSetupDlg dlg;
  for (QWidget* child : dlg.findChildren<QWidget*>()) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(child)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(child)) text = button->text();
    if (text.isEmpty()) continue;
    if (qobject_cast<QPushButton*>(child)) {
      int needed = child->fontMetrics().horizontalAdvance(QString(text).remove(u'&')) + 8;
      EXPECT_LE(needed, child->width()) << text.toStdString();
    } else {
      EXPECT_LE(child->sizeHint().width(), child->width()) << text.toStdString();
    }
    EXPECT_LE(child->fontMetrics().height(), child->height()) << text.toStdString();
  }
}

TEST(SetupDlgLayout, LabelMnemonicsLeadToTheirControls) {
  CSetupDlg dlg;
  std::map<QString, int> expected = {
      {"Fn 0&1", MessageEditId(1)},    {"Fn 1&0", MessageEditId(10)},
      {"コールサイン(&M)", kIdMyCall}, {"&PTTディレイ", kIdPttdBefore},
      {"ドット(&D)", kIdWeightDot},    {"単語間(&W)", kIdIntervalWord},
      {"初期値(&N)", kIdNumber},       {"C&Q間隔", kIdCqLoopInterval}};
  for (QLabel* label : dlg.findChildren<QLabel*>()) {
    auto it = expected.find(label->text());
    if (it == expected.end()) continue;
    EXPECT_EQ(label->buddy(), dlg.Control(it->second)) << label->text().toStdString();
    expected.erase(it);
  }
  EXPECT_TRUE(expected.empty());
}

}  // namespace
}  // namespace vantrel::ui
