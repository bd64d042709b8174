// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormPictures.h"

#include <QEvent>

#include "app/PictureIconEngine.h"
#include <array>

namespace FormPictures {

namespace {

constexpr std::array<const char*, kImageList1Count> kImageList1 = {"open",  "optimise", "memory",   "quit",
                                                                    "tick", "cancel",   "processor"};

void SetPicture(QLabel* label, const char* name, QSize size)
{
    SetWhenShown(label, [label, name, size] { return Picture(QLatin1String(name)).pixmap(size, label->devicePixelRatioF()); });
}

// Sets its label's picture at the label's first showing, then goes.
class PictureOnShow : public QObject {
public:
    PictureOnShow(QLabel* label, std::function<QPixmap()> picture) : QObject(label), picture_(std::move(picture))
    {
        label->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            static_cast<QLabel*>(watched)->setPixmap(picture_());
            deleteLater();
        }
        return false;
    }

private:
    std::function<QPixmap()> picture_;
};

}  // namespace

// Both drawings, whatever the screen at start-up (Qt itself looks for name@2x.png only when it
// starts on a 2x screen, and a window can move to one later), each read when first needed.
QIcon Picture(const QString& name)
{
    return QIcon(new TPictureIconEngine(
        {QStringLiteral(":/pictures/%1.png").arg(name), QStringLiteral(":/pictures/%1@2x.png").arg(name)},
        TPictureIconEngine::Keep::Drawings));
}

void SetWhenShown(QLabel* label, std::function<QPixmap()> picture)
{
    if (label->isVisible())
        label->setPixmap(picture());
    else
        new PictureOnShow(label, std::move(picture));
}

QIcon ImageList1(int index)
{
    if (index < 0 || index >= kImageList1Count)
        return {};
    return Picture(QLatin1String(kImageList1[index]));
}

void Load(Ui::TfMainMem& ui)
{
    const QSize buttonPicture(16, 16);
    const std::array<std::pair<QAbstractButton*, const char*>, 6> buttons = {{{ui.BitBtn1, "optimise"},
                                                                             {ui.BitBtn3, "cancel"},
                                                                             {ui.Button4, "quit"},
                                                                             {ui.Button2, "save"},
                                                                             {ui.Button3, "refresh"},
                                                                             {ui.Button1, "news"}}};
    for (const auto& [button, name] : buttons) {
        button->setIcon(Picture(QLatin1String(name)));
        button->setIconSize(buttonPicture);
    }
    ui.StatusPanel0->SetIcon(Picture(QStringLiteral("memory")));
    ui.StatusPanel1->SetIcon(Picture(QStringLiteral("processor")));
    SetPicture(ui.Image1, "banner", QSize(300, 100));
    SetPicture(ui.Image9, "about", QSize(32, 32));
    // The "Informations" lines, top to bottom, and the "Processeur" page.
    const QSize linePicture(32, 32);
    const std::array<std::pair<QLabel*, const char*>, 7> lines = {{{ui.Image3, "system"},
                                                                  {ui.Image6, "computer"},
                                                                  {ui.Image5, "user"},
                                                                  {ui.Image4, "network"},
                                                                  {ui.Image7, "disks"},
                                                                  {ui.Image8, "memory32"},
                                                                  {ui.Image10, "processor32"}}};
    for (const auto& [image, name] : lines)
        SetPicture(image, name, linePicture);

    ui.Open1->setIcon(ImageList1(0));
    ui.RecoverRam1->setIcon(ImageList1(1));
    ui.Exit1->setIcon(ImageList1(3));
    ui.Cancel1->setIcon(ImageList1(5));
}

}  // namespace FormPictures
