// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QGroupBox>

#include "MainWindowFixture.h"

namespace {

QString SpokenName(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

using AccessibleNames = MainWindowFixture;

TEST_F(AccessibleNames, EveryGroupBoxReadsItsOwnTitle)
{
    auto& form = Form();
    const QList<QGroupBox*> boxes = form.findChildren<QGroupBox*>();
    ASSERT_GE(boxes.size(), 10);
    for (QGroupBox* box : boxes)
        EXPECT_EQ(SpokenName(box), box->title().remove(QLatin1Char('&')).simplified()) << box->objectName().toStdString();
    EXPECT_EQ(SpokenName(form.ui.GroupBox7), QStringLiteral("général"));  // inside "Options"
    EXPECT_EQ(SpokenName(form.ui.GroupBox5), QStringLiteral("Propriétés de récupération"));
}

TEST_F(AccessibleNames, ControlsWithoutTextReadTheCaptionBesideThem)
{
    auto& ui = Form().ui;
    const std::pair<QWidget*, QString> captions[] = {
        {ui.Gauge1, ui.Label30->text()},
        {ui.Gauge2, ui.Label1->text()},
        {ui.Gauge3, ui.Label21->text()},
        {ui.SpinEdit1, ui.CheckBox3->text()},
        {ui.SpinEdit2, ui.CheckBox5->text()},
        {ui.SpinEdit3, ui.Label14->text()},
        {ui.TrackBar1, ui.GroupBox10->title()},
        {ui.TrackBar2, ui.Label5->text()},
        {ui.HotKey1, ui.Label28->text()},
    };
    for (const auto& [control, caption] : captions)
        EXPECT_EQ(SpokenName(control).simplified().toStdString(), QString(caption).remove(QLatin1Char('&')).simplified().toStdString())
            << control->objectName().toStdString();
}

TEST_F(AccessibleNames, TheCacheComboIsLabelledByItsCaption)
{
    // On Linux Qt names a combo box by its text and tells its caption as the "labelled by" relation.
    auto& ui = Form().ui;
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(ui.CbCache);
    ASSERT_NE(combo, nullptr);
    bool labelled = false;
    for (const auto& [other, relation] : combo->relations(QAccessible::Label))
        labelled = labelled || other->object() == ui.Label29;
    EXPECT_TRUE(labelled);
}

TEST_F(AccessibleNames, LabelledControlsKeepTheirOwnCaption)
{
    auto& ui = Form().ui;
    for (QWidget* control : std::initializer_list<QWidget*>{ui.CheckBox2, ui.cbxballoon, ui.RadioButton1, ui.Button3, ui.Label_ram})
        EXPECT_FALSE(SpokenName(control).isEmpty()) << control->objectName().toStdString();
    EXPECT_EQ(SpokenName(ui.CheckBox2), QStringLiteral("Toujours visible?"));
    EXPECT_EQ(SpokenName(ui.Button3), QStringLiteral("Rafraichir"));
}

}  // namespace
