// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTranslator>

#include "app/FontSubstitutes.h"
#include "app/MainWindowFixture.h"
#include "app/ProgramArguments.h"
#include "app/QtFrench.h"
#include "widgets/StatusGauge.h"
#include "widgets/StatusPanel.h"

namespace {

// The texts of the window as a user reads them, in the fonts the program asks for.
class FormTexts : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        SubstituteArial();  // as the program's application object does
    }
};

// Texts that the information and processor pages take from the machine, not from the layout.
bool FromTheMachine(const QString& name)
{
    return name.startsWith(QLatin1String("Label_")) || name.startsWith(QLatin1String("lbl")) ||
           name.startsWith(QLatin1String("Lbl"));
}

// What a text needs beyond the widget it is in, in pixels; 0 when it shows whole.
int Overflow(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return 0;
        if (label->wordWrap())
            return std::max(0, label->heightForWidth(label->width()) - label->height());
        return std::max(0, label->sizeHint().width() - label->width());
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        return std::max(0, box->sizeHint().width() - box->width());
    if (auto* button = qobject_cast<QRadioButton*>(widget))
        return std::max(0, button->sizeHint().width() - button->width());
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return std::max(0, group->fontMetrics().horizontalAdvance(group->title()) + 16 - group->width());
    return 0;
}

TEST_F(FormTexts, ArialIsLiberationSans)
{
    QFont arial(QStringLiteral("Arial"));
    EXPECT_EQ(QFontInfo(arial).family().toStdString(), "Liberation Sans")
        << "the window is laid out for Arial's metrics";
}

// Every text of the layout shows whole: a wider font than Arial cut several ("Niveau alarme
// en %", the red lines under the options).
TEST_F(FormTexts, EveryTextOfTheWindowShowsWhole)
{
    TfMainMem& form = Form();
    form.show();
    int checked = 0;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        if (FromTheMachine(widget->objectName()))
            continue;
        ++checked;
        EXPECT_EQ(Overflow(widget), 0) << widget->objectName().toStdString() << " in "
                                       << widget->font().family().toStdString() << " "
                                       << widget->font().pointSizeF() << "pt";
    }
    EXPECT_GT(checked, 60);

    // Where the desktop holds no key, the line under the hot-key field says so, whole too.
    form.close();
    this->form.reset();
    hotKeys.canHoldKeys = false;
    QLabel* line = Form().ui.Label28;
    this->form->show();
    ASSERT_TRUE(line->text().contains(QStringLiteral("inactif")));
    EXPECT_EQ(Overflow(line), 0) << line->text().toStdString();
}

// The last panel runs to the bar's right end, and the others grow for a figure of five digits.
TEST_F(FormTexts, TheStatusBarShowsItsTextsWhole)
{
    TfMainMem& form = Form();
    form.show();
    TStatusGauge* gauge = form.ui.StatusPanel2;
    gauge->SetText(QStringLiteral(" Quantité récupérée : 504 MB"));
    form.ui.StatusPanel0->SetText(QStringLiteral(" 22210 MB"));
    QCoreApplication::processEvents();
    EXPECT_EQ(gauge->geometry().right(), form.ui.StatusBar->width() - 1) << "to the bar's right end";
    EXPECT_LE(gauge->fontMetrics().horizontalAdvance(gauge->Text()), gauge->width() - 2);
    TStatusPanel* memory = form.ui.StatusPanel0;
    EXPECT_GE(memory->width(), memory->sizeHint().width()) << "\" 22210 MB\" shows whole";
    EXPECT_EQ(form.ui.StatusPanel1->x(), memory->geometry().right() + 1) << "the next panel moves along";
    EXPECT_EQ(gauge->x(), form.ui.StatusPanel1->geometry().right() + 1);

    memory->SetText(QStringLiteral(" 45 %"));
    QCoreApplication::processEvents();
    EXPECT_EQ(memory->width(), 60) << "back to its laid-out width";
    EXPECT_EQ(gauge->geometry().right(), form.ui.StatusBar->width() - 1);
}

// Qt's own texts in a French program: the hot-key field's prompt, the command line's words.
TEST_F(FormTexts, QtsOwnTextsAreFrench)
{
    QTranslator* french = InstallQtFrench(*qApp);
    ASSERT_NE(french, nullptr) << "qtbase_fr.qm is not installed (qt6-translations-l10n)";
    TfMainMem& form = Form();
    const auto* prompt = form.ui.HotKey1->findChild<QLineEdit*>();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->placeholderText(), QStringLiteral("Appuyez sur le raccourci"));

    const ProgramArguments help = ProgramArguments::Parse({QStringLiteral("/usr/bin/mnemora-xp"), QStringLiteral("--help")});
    EXPECT_TRUE(help.text.startsWith(QStringLiteral("Utilisation : mnemora-xp [options]"))) << help.text.toStdString();
    EXPECT_TRUE(help.text.contains(QStringLiteral("Options :"))) << help.text.toStdString();
    const ProgramArguments unknown = ProgramArguments::Parse({QStringLiteral("mnemora-xp"), QStringLiteral("--x")});
    EXPECT_EQ(unknown.text, QStringLiteral("Option inconnue \"x\"."));
    QCoreApplication::removeTranslator(french);
    delete french;
}

}  // namespace
