// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormAccessibility.h"

namespace FormAccessibility {

namespace {

// A caption as it reads: without the accelerator's ampersand and the layout's blanks.
QString Spoken(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;  // "&x" reads x, "&&" reads &
        text += caption[i];
    }
    return text.simplified();
}

}  // namespace

void NameControls(Ui::TfMainMem& ui, QWidget* form)
{
    for (QGroupBox* box : form->findChildren<QGroupBox*>()) {
        if (box->accessibleName().isEmpty())
            box->setAccessibleName(Spoken(box->title()));
    }
    // Captions that are labels: Qt's buddy is the label's own way of naming its control.
    const std::pair<QLabel*, QWidget*> labelled[] = {
        {ui.Label30, ui.Gauge1},    {ui.Label1, ui.Gauge2},    {ui.Label21, ui.Gauge3}, {ui.Label14, ui.SpinEdit3},
        {ui.Label29, ui.CbCache},   {ui.Label5, ui.TrackBar2}, {ui.Label28, ui.HotKey1},
    };
    for (const auto& [label, control] : labelled)
        label->setBuddy(control);
    // Captions that are the check boxes switching the value on, and the group box around the track bar.
    ui.SpinEdit1->setAccessibleName(Spoken(ui.CheckBox3->text()));
    ui.SpinEdit2->setAccessibleName(Spoken(ui.CheckBox5->text()));
    ui.TrackBar1->setAccessibleName(Spoken(ui.GroupBox10->title()));
}

}  // namespace FormAccessibility
