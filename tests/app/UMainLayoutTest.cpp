// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractSlider>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <gmock/gmock.h>
#include <optional>

#include "app/FormMenus.h"  // and with it the form's generated Ui::TfMainMem
#include "widgets/ComboBox.h"
#include "widgets/Gauge.h"
#include "widgets/HotKeyEdit.h"
#include "widgets/PageControl.h"
#include "widgets/RadioGroup.h"
#include "widgets/SpinEdit.h"
#include "widgets/StatusGauge.h"
#include "widgets/StatusPanel.h"

// Texts show as text in failure messages.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

struct TRange {
    int min;
    int max;
    int value;
};

struct TFont {
    const char* family;
    int pointSize;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// One control of the window as it is created. A field left out is not checked; texts are UTF-8.
struct TControl {
    const char* name;
    const char* kind;
    const char* parent;
    const char* text = nullptr;  // caption, title, label or edit text, key sequence
    const char* hint = nullptr;  // "" for a control that must have none
    bool enabled = true;
    bool visible = true;
    std::optional<bool> checked = std::nullopt;
    std::optional<TRange> range = std::nullopt;  // track bars, gauges, spin edits (their own bounds)
    std::optional<QSize> size = std::nullopt;
    std::optional<TFont> font = std::nullopt;
    std::optional<QColor> textColor = std::nullopt;
    std::optional<QColor> fillColor = std::nullopt;
};

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// clang-format off
const TControl kControls[] = {
    // The page control and its pages' direct content
    {.name = "Memoire", .kind = "TPageControl", .parent = "centralwidget", .size = QSize(449, 289)},

    // "Système"
    {.name = "Bevel1", .kind = "QFrame", .parent = "TabSheet1"},
    {.name = "GroupBox2", .kind = "QGroupBox", .parent = "TabSheet1", .text = "Affichage :", .font = TFont{"Arial", 7}},
    {.name = "Panel1", .kind = "QLabel", .parent = "GroupBox2", .text = "historique", .fillColor = QColor(Qt::white)},
    {.name = "PerfChart1", .kind = "TPerfChart", .parent = "Panel1", .size = QSize(297, 97)},
    {.name = "Label17", .kind = "QLabel", .parent = "Panel1", .text = "0", .font = TFont{"MS Sans Serif", 8}, .textColor = QColor(Qt::blue)},
    {.name = "Label18", .kind = "QLabel", .parent = "Panel1", .text = "50", .font = TFont{"MS Sans Serif", 8}, .textColor = QColor(Qt::blue)},
    {.name = "Label19", .kind = "QLabel", .parent = "Panel1", .text = "100", .font = TFont{"MS Sans Serif", 8}, .textColor = QColor(Qt::blue)},
    {.name = "Label20", .kind = "QLabel", .parent = "Panel1", .text = "Historique de l'utilisation du système",
     .font = TFont{"Arial", 8, true, true, true}, .textColor = QColor(Qt::blue)},
    {.name = "Label12", .kind = "QLabel", .parent = "Panel1", .text = "RAM libre % :"},
    {.name = "Shape1", .kind = "QFrame", .parent = "Panel1", .fillColor = QColor(0, 255, 0)},
    {.name = "Label15", .kind = "QLabel", .parent = "Panel1", .text = "Alarme RAM  :"},
    {.name = "Shape2", .kind = "QFrame", .parent = "Panel1", .fillColor = QColor(255, 0, 0)},
    {.name = "Label16", .kind = "QLabel", .parent = "Panel1", .text = "Activité CPU :"},
    {.name = "Shape3", .kind = "QFrame", .parent = "Panel1", .fillColor = QColor(0, 255, 255)},
    {.name = "Label30", .kind = "QLabel", .parent = "GroupBox2", .text = "RAM libre:"},
    {.name = "Gauge1", .kind = "TGauge", .parent = "GroupBox2", .text = "0%", .range = TRange{0, 100, 0}, .font = TFont{"Arial", 8, true}},
    {.name = "Label31", .kind = "QLabel", .parent = "GroupBox2", .text = "0 MB"},
    {.name = "Label1", .kind = "QLabel", .parent = "GroupBox2", .text = "Utilisation du CPU :"},
    {.name = "Gauge2", .kind = "TGauge", .parent = "GroupBox2", .text = "0%", .range = TRange{0, 100, 0}, .font = TFont{"Arial", 8, true}},
    {.name = "Label21", .kind = "QLabel", .parent = "GroupBox2", .text = "Moyenne CPU      :"},
    {.name = "Gauge3", .kind = "TGauge", .parent = "GroupBox2", .text = "0%", .range = TRange{0, 100, 0}, .font = TFont{"Arial", 8, true}},
    {.name = "BitBtn1", .kind = "QPushButton", .parent = "GroupBox2", .text = "&Optimise\nla RAM !", .hint = "BOOST RAM MAINTENANT!"},
    {.name = "BitBtn3", .kind = "QPushButton", .parent = "GroupBox2", .text = "&Annuler", .hint = "ANNULER", .enabled = false},
    {.name = "Button4", .kind = "QPushButton", .parent = "GroupBox2", .text = "&Quitter Mnemora XP",
     .hint = "QUITTER MNEMORA XP\n=====================\nVous êtes sur le point de \nfermer Mnemora XP."},

    // "Réglages"
    {.name = "RadioGroup1", .kind = "TRadioGroup", .parent = "Reglage", .text = "Méthode", .font = TFont{"Arial", 7}},
    {.name = "RadioButton1", .kind = "QRadioButton", .parent = "Reglage", .text = "Système",
     .hint = "METHODE SYSTEME:\n-------------------------------------\nMnemora XP essaye de\nrécupérer rapidement de la mémoire.\n"
             "Efficace si le seuil est très bas.", .checked = true},
    {.name = "RadioButton2", .kind = "QRadioButton", .parent = "Reglage", .text = "Manuel",
     .hint = "REGLAGE MANUEL:\n----------------------------------\nVous pouvez règler vous-même\nla quantité de RAM à essayer "
             "d'atteindre.\nAttention plus la quantité est élevée, plus\nle système mettra du temps donc de la charge\nprocesseur.",
     .checked = false},
    {.name = "RadioButton3", .kind = "QRadioButton", .parent = "Reglage", .text = "Tout",
     .hint = "RESTAURATION MAXIMALE :\n-------------------------------------------------\nMnemora Xp va essayer de restaurer\nun maximum de "
             "RAM. (Attention méthode\nplus lente et plus coûteuse en charge\nprocesseur.", .checked = false},
    {.name = "GroupBox10", .kind = "QGroupBox", .parent = "Reglage", .text = "Nbre de Mo à essayer d'atteindre (méthode manuelle)"},
    {.name = "TrackBar1", .kind = "QSlider", .parent = "GroupBox10", .enabled = false, .range = TRange{0, 256, 10}},
    {.name = "Label4", .kind = "QLabel", .parent = "GroupBox10", .text = "000000"},
    {.name = "GroupBox5", .kind = "QGroupBox", .parent = "Reglage", .text = "Propriétés de récupération ", .font = TFont{"Arial", 7}},
    {.name = "CheckBox3", .kind = "QCheckBox", .parent = "GroupBox5", .text = "Niveau alarme en %",
     .hint = "NIVEAU D'ALARME:\n---------------------------------\nPermet de règler le seuil minimum\nde RAM (en pourcentage) à partir \n"
             "duquel le système doit se déclencher.", .checked = true},
    {.name = "SpinEdit1", .kind = "TSpinEdit", .parent = "GroupBox5", .range = TRange{0, 100, 35}},
    {.name = "Label22", .kind = "QLabel", .parent = "GroupBox5", .text = "Permet de lancer l'optimisation lorsque l'alarme est atteinte.",
     .textColor = QColor(Qt::red)},
    {.name = "CheckBox5", .kind = "QCheckBox", .parent = "GroupBox5", .text = "Libère toutes les ",
     .hint = "OPTIMISATION DANS LE TEMPS:\n--------------------------------------------------------\nPermet de règler le déclenchement \n"
             "automatique tous les X minutes.", .checked = false},
    // Held to what a timer's millisecond count can carry, rather than unbounded.
    {.name = "SpinEdit2", .kind = "TSpinEdit", .parent = "GroupBox5", .range = TRange{0, 35791, 45}},
    {.name = "Label3", .kind = "QLabel", .parent = "GroupBox5", .text = "minutes."},
    {.name = "Label14", .kind = "QLabel", .parent = "GroupBox5", .text = "Charge CPU inférieure à",
     .hint = "CHARGE MAX CPU :\n----------------------------------\nSélectionnez la charge maximale du processeur\navant défragmentation "
             "de la RAM. Permet d'éviter\nde ralentir vos tâches en cours."},
    {.name = "SpinEdit3", .kind = "TSpinEdit", .parent = "GroupBox5", .range = TRange{0, 100, 15}},
    {.name = "Label13", .kind = "QLabel", .parent = "GroupBox5", .text = "%"},
    {.name = "Label23", .kind = "QLabel", .parent = "GroupBox5", .text = "Permet d'empêcher l'optimisation si le proc est surchargé.",
     .textColor = QColor(Qt::red)},
    {.name = "GroupBox1", .kind = "QGroupBox", .parent = "Reglage", .text = "Optimisations Windows ", .font = TFont{"Arial", 7}},
    {.name = "Label29", .kind = "QLabel", .parent = "GroupBox1", .text = "Optimisation du cache :"},
    {.name = "CbCache", .kind = "TComboBox", .parent = "GroupBox1", .text = "65536 KB ( RAM > 256 MB )"},
    {.name = "cbxCacheNiveau2", .kind = "QCheckBox", .parent = "GroupBox1", .text = "Optimiser le cache niveau 2",
     .hint = "Permet d'ajuster le niveau de cache L2\nà la taille de celui de votre processeur.", .checked = false},
    {.name = "RGLargeSystemCache", .kind = "TRadioGroup", .parent = "GroupBox1", .text = "Optimisation de la mémoire pour :"},
    {.name = "Cbxnoyau", .kind = "QCheckBox", .parent = "GroupBox1", .text = "Optimiser les performances du noyau système",
     .hint = "A activer sur les systèmes ayant 512 MB ou plus. Actif que sur Windows NT, 2000 ou XP", .enabled = false, .checked = false},
    {.name = "cbxSwap", .kind = "QCheckBox", .parent = "GroupBox1", .text = "Réinitialiser le fichier swap au redémarrage",
     .hint = "Permet d'effacer le contenu du fichier swap\nlors de l'arrêt ou du redémarrage de la machine.", .checked = false},

    // "Paramètres"
    {.name = "GroupBox4", .kind = "QGroupBox", .parent = "TabSheet3", .text = "Options", .font = TFont{"Arial", 7}},
    {.name = "GroupBox7", .kind = "QGroupBox", .parent = "GroupBox4", .text = "général"},
    {.name = "CheckBox2", .kind = "QCheckBox", .parent = "GroupBox7", .text = "Toujours visible?",
     .hint = "TOUJOURS VISIBLE:\n-----------------------------------\nForce la fenêtre de Mnemora XP\nà rester devant les autres fenêtres\n"
             "du bureau. (lorsque Mnemora est\nen mode fenêtré).", .checked = true},
    {.name = "Label24", .kind = "QLabel", .parent = "GroupBox7", .text = "La fenêtre restera au premier plan.", .textColor = QColor(Qt::red)},
    {.name = "CheckBox1", .kind = "QCheckBox", .parent = "GroupBox7", .text = "Démarre avec Win ?",
     .hint = "REDEMARRAGE AUTO :\n----------------------------------------\nPermet à Mnemora XP de \nredémarrer automatiquement\navec Windows.",
     .checked = true},
    {.name = "Label25", .kind = "QLabel", .parent = "GroupBox7", .text = "Mnemora XP se lancera au démarrage de Windows.",
     .textColor = QColor(Qt::red)},
    {.name = "CDechargeDll", .kind = "QCheckBox", .parent = "GroupBox7", .text = "Décharge Dll inutilisées",
     .hint = "DECHARGE LES DLLS NON UTILISEES:\n==================================\nCe paramètre force Windows à décharger les\nDlls non "
             "utilisées par le système. Cela peut \npermettre au système de récupérer plus de RAM.", .checked = false},
    {.name = "Label26", .kind = "QLabel", .parent = "GroupBox7", .text = "Force Windows à décharger les Dlls libres de la mémoire.",
     .textColor = QColor(Qt::red)},
    {.name = "HotKey1", .kind = "THotKeyEdit", .parent = "GroupBox7", .text = "Ctrl+Shift+R"},
    {.name = "Label28", .kind = "QLabel", .parent = "GroupBox7", .text = "\"HotKey\" cette combinaison de touche lance l'optimisation !",
     .textColor = QColor(Qt::red)},
    {.name = "GroupBox3", .kind = "QGroupBox", .parent = "GroupBox4", .text = "Options Win XP, Win 2000"},
    {.name = "Label5", .kind = "QLabel", .parent = "GroupBox3", .text = "Opacité de la fenêtre"},
    {.name = "TrackBar2", .kind = "QSlider", .parent = "GroupBox3", .enabled = false, .range = TRange{0, 255, 255}},
    {.name = "cbxballoon", .kind = "QCheckBox", .parent = "GroupBox3", .text = "Tray Balloon?",
     .hint = "Tray Balloon :\nPermet d'afficher une bulle signalant\nle début et la fin de l'optimisation.\n", .enabled = false,
     .checked = false},
    {.name = "Label27", .kind = "QLabel", .parent = "GroupBox3", .text = "Permet d'afficher une bulle d'aide dans la barre des tâches.",
     .textColor = QColor(Qt::red)},
    {.name = "RadioGroup2", .kind = "TRadioGroup", .parent = "GroupBox4", .text = "mode affichage tray icône :"},
    {.name = "Button2", .kind = "QPushButton", .parent = "TabSheet3", .text = "&Enregistrer",
     .hint = "ENREGISTREMENT DES PARAMETRES\n==================================\nCette fonctionnalité permet de stocker les\nparamètres afin "
             "de les garder pour les \nprochaines exécutions", .font = TFont{"Arial", 7}},

    // "Informations"
    {.name = "GroupBox8", .kind = "QGroupBox", .parent = "TabSheet5", .text = "Informations système", .font = TFont{"Arial", 7}},
    {.name = "LogoWinNT", .kind = "QLabel", .parent = "GroupBox8", .visible = false, .size = QSize(145, 97)},
    {.name = "LogoWin98", .kind = "QLabel", .parent = "GroupBox8", .visible = false, .size = QSize(145, 97)},
    {.name = "LogoWin95", .kind = "QLabel", .parent = "GroupBox8", .visible = false, .size = QSize(145, 97)},
    {.name = "LogoWinXP", .kind = "QLabel", .parent = "GroupBox8", .visible = false, .size = QSize(145, 97)},
    {.name = "LogoWin2K", .kind = "QLabel", .parent = "GroupBox8", .visible = false, .size = QSize(145, 97)},
    {.name = "Image3", .kind = "QLabel", .parent = "GroupBox8", .size = QSize(32, 32)},
    {.name = "Image6", .kind = "QLabel", .parent = "GroupBox8", .size = QSize(32, 32)},
    {.name = "Image5", .kind = "QLabel", .parent = "GroupBox8", .size = QSize(32, 32)},
    {.name = "Image4", .kind = "QLabel", .parent = "GroupBox8", .size = QSize(32, 32)},
    {.name = "Image7", .kind = "QLabel", .parent = "GroupBox8", .size = QSize(32, 32)},
    {.name = "Image8", .kind = "QLabel", .parent = "GroupBox8", .size = QSize(32, 32)},
    {.name = "Label_version_os", .kind = "QLabel", .parent = "GroupBox8", .text = "Label_version_os"},
    {.name = "Label_nom_machine", .kind = "QLabel", .parent = "GroupBox8", .text = "Label_nom_machine"},
    {.name = "Label_nom_utilisateur", .kind = "QLabel", .parent = "GroupBox8", .text = "Label_nom_utilisateur"},
    {.name = "Label_ip_adresse", .kind = "QLabel", .parent = "GroupBox8", .text = "Label_ip_adresse"},
    {.name = "Label_disque_c", .kind = "QLabel", .parent = "GroupBox8", .text = "info freespace/ totalspace on disk C:", .visible = false},
    {.name = "Label_ram", .kind = "QLabel", .parent = "GroupBox8", .text = "Label_ram"},
    {.name = "Label_cpu_speed", .kind = "QLabel", .parent = "GroupBox8", .text = "Label_cpu_speed"},
    {.name = "Button3", .kind = "QPushButton", .parent = "GroupBox8", .text = "&Rafraichir",
     .hint = "RAFRAICHIR LES DONNEES\n========================\nPermet de rafraichir les informations\nsur le(s) disque(s) dur(s) et la "
             "vitesse\nréelle du processeur."},

    // "Processeur"
    {.name = "GroupBox6", .kind = "QGroupBox", .parent = "TabSheet4", .text = "Informations processeur", .font = TFont{"Arial", 7}},
    {.name = "Label6", .kind = "QLabel", .parent = "GroupBox6", .text = "Processeur :"},
    {.name = "lblName", .kind = "QLabel", .parent = "GroupBox6", .text = "lblName"},
    {.name = "LblMMX", .kind = "QLabel", .parent = "GroupBox6", .text = "LblMMX"},
    {.name = "lblSIMD", .kind = "QLabel", .parent = "GroupBox6", .text = "lblSIMD"},
    {.name = "lbl3DNow", .kind = "QLabel", .parent = "GroupBox6", .text = "lbl3DNow"},
    {.name = "Label7", .kind = "QLabel", .parent = "GroupBox6", .text = "Level 1 Code :"},
    {.name = "lblL1Code", .kind = "QLabel", .parent = "GroupBox6", .text = "lblL1Code"},
    {.name = "Label8", .kind = "QLabel", .parent = "GroupBox6", .text = "Level 1 Data :"},
    {.name = "lblL1Data", .kind = "QLabel", .parent = "GroupBox6", .text = "lblL1Data"},
    {.name = "Label9", .kind = "QLabel", .parent = "GroupBox6", .text = "Level 1 Unified :"},
    {.name = "lblLevel1", .kind = "QLabel", .parent = "GroupBox6", .text = "lblLevel1"},
    {.name = "Label10", .kind = "QLabel", .parent = "GroupBox6", .text = "Level 2 Unified :"},
    {.name = "lblLevel2", .kind = "QLabel", .parent = "GroupBox6", .text = "lblLevel2"},
    {.name = "LogoIntel", .kind = "QLabel", .parent = "GroupBox6", .visible = false, .size = QSize(113, 97)},
    {.name = "LogoAMD", .kind = "QLabel", .parent = "GroupBox6", .visible = false, .size = QSize(113, 97)},
    {.name = "LogoCyrix", .kind = "QLabel", .parent = "GroupBox6", .visible = false, .size = QSize(113, 97)},
    {.name = "Image10", .kind = "QLabel", .parent = "GroupBox6", .size = QSize(32, 32)},
    {.name = "ListView1", .kind = "QTreeWidget", .parent = "GroupBox6"},

    // "A propos de..."
    {.name = "Image1", .kind = "QLabel", .parent = "TabSheet2", .hint = "QuillexXp \n© 2002-2003, tous droits réservés\nl'équipe Mnemora XP",
     .size = QSize(300, 100)},
    {.name = "GroupBox9", .kind = "QGroupBox", .parent = "TabSheet2", .text = "Copyright", .font = TFont{"Arial", 7}},
    {.name = "Label2", .kind = "QLabel", .parent = "GroupBox9",
     .text = "\nL'auteur de ce programme décline toute\nresponsabilité quant à la possible\ndéterioration du système de "
             "l'utilisateur.\n \nAuteur: l'équipe Mnemora XP\n© 2002-2003 l'équipe Mnemora XP, tous droits réservés\nVersion : ",
     .font = TFont{"Arial", 7, true}},
    {.name = "Label32", .kind = "QLabel", .parent = "GroupBox9", .text = "https://mnemora-xp.example.org/", .font = TFont{"Arial", 7, true}},
    {.name = "Label11", .kind = "QLabel", .parent = "GroupBox9", .text = "Email : auteur@example.org",
     .font = TFont{"Arial", 7, true}},
    {.name = "Image9", .kind = "QLabel", .parent = "GroupBox9", .size = QSize(32, 32)},
    {.name = "Button1", .kind = "QPushButton", .parent = "GroupBox9", .text = "&Infos directs",
     .hint = "INFOS DIRECTS :\n===============\nCette fonction permet de\nse tenir au courant des \ndernières informations à \npropos "
             "de Mnemora XP.", .font = TFont{"Arial", 7}},
};
// clang-format on

QString TextOf(QWidget* widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    if (auto* combo = qobject_cast<TComboBox*>(widget))
        return combo->Text();
    if (auto* keys = qobject_cast<QKeySequenceEdit*>(widget))
        return keys->keySequence().toString(QKeySequence::PortableText);
    if (auto* gauge = qobject_cast<QProgressBar*>(widget))
        return gauge->text();
    return {};
}

std::optional<TRange> RangeOf(QWidget* widget)
{
    if (auto* spin = qobject_cast<TSpinEdit*>(widget))
        return TRange{spin->MinValue(), spin->MaxValue(), spin->Value()};
    if (auto* slider = qobject_cast<QAbstractSlider*>(widget))
        return TRange{slider->minimum(), slider->maximum(), slider->value()};
    if (auto* gauge = qobject_cast<QProgressBar*>(widget))
        return TRange{gauge->minimum(), gauge->maximum(), gauge->value()};
    return std::nullopt;
}

class UMainLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui.setupUi(&window);
        menus.SetupMenus(ui, &window);
        window.show();
    }

    template <typename T = QWidget>
    T* Find(const char* name)
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }

    QMainWindow window;
    Ui::TfMainMem ui;
    TFormMenus menus;
};

TEST_F(UMainLayout, EveryControlIsCreatedAsListed)
{
    for (const TControl& control : kControls) {
        SCOPED_TRACE(control.name);
        QWidget* widget = Find(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), control.kind);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(control.parent));
        if (control.text) {
            EXPECT_EQ(TextOf(widget), U(control.text));
        }
        if (control.hint) {
            EXPECT_EQ(widget->toolTip(), U(control.hint));
        }
        EXPECT_EQ(widget->isEnabled(), control.enabled);
        EXPECT_EQ(!widget->isHidden(), control.visible);
        if (control.checked) {
            auto* button = qobject_cast<QAbstractButton*>(widget);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isChecked(), *control.checked);
        }
        if (control.range) {
            const std::optional<TRange> range = RangeOf(widget);
            ASSERT_TRUE(range.has_value());
            EXPECT_EQ(range->min, control.range->min);
            EXPECT_EQ(range->max, control.range->max);
            EXPECT_EQ(range->value, control.range->value);
        }
        if (control.size) {
            EXPECT_EQ(widget->size(), *control.size);
        }
        if (control.font) {
            const QFont font = widget->font();
            EXPECT_EQ(font.family(), QString::fromLatin1(control.font->family));
            EXPECT_EQ(font.pointSize(), control.font->pointSize);
            EXPECT_EQ(font.bold(), control.font->bold);
            EXPECT_EQ(font.italic(), control.font->italic);
            EXPECT_EQ(font.underline(), control.font->underline);
        }
        if (control.textColor) {
            EXPECT_EQ(widget->palette().color(QPalette::WindowText), *control.textColor);
        }
        if (control.fillColor) {
            EXPECT_TRUE(widget->autoFillBackground());
            EXPECT_EQ(widget->palette().color(QPalette::Window), *control.fillColor);
        }
    }
}

TEST_F(UMainLayout, ChoicesAndListsHoldTheirItems)
{
    const QStringList cacheSizes = {U("4096   KB ( RAM <= 32 MB )"), U("8192   KB ( RAM > 32 MB )"), U("16384 KB ( RAM > 64 MB )"),
                                    U("32768 KB ( RAM > 128 MB )"), U("65536 KB ( RAM > 256 MB )"), U("( Défaut non optimisé )")};
    EXPECT_EQ(ui.CbCache->Items(), cacheSizes);
    EXPECT_EQ(ui.CbCache->currentIndex(), -1);  // showing a value, no item chosen
    EXPECT_TRUE(ui.CbCache->isEditable());

    EXPECT_EQ(ui.RGLargeSystemCache->Items(), QStringList({U("Les applications"), U("Le cache système")}));
    EXPECT_EQ(ui.RGLargeSystemCache->ItemIndex(), 0);
    EXPECT_EQ(ui.RadioGroup2->Items(), QStringList({U("pourcentage"), U("MB libres")}));
    EXPECT_EQ(ui.RadioGroup2->ItemIndex(), 0);
    EXPECT_EQ(ui.RadioGroup2->Columns(), 2);
    EXPECT_TRUE(ui.RadioGroup1->Items().isEmpty());

    EXPECT_EQ(ui.ListView1->columnCount(), 2);
    EXPECT_TRUE(ui.ListView1->isHeaderHidden());
    EXPECT_EQ(ui.ListView1->header()->sectionSize(0), 100);
    EXPECT_EQ(ui.ListView1->topLevelItemCount(), 0);
}

TEST_F(UMainLayout, MethodButtonsExcludeEachOtherButNotTheOtherGroups)
{
    ui.RadioButton2->click();
    EXPECT_TRUE(ui.RadioButton2->isChecked());
    EXPECT_FALSE(ui.RadioButton1->isChecked());
    EXPECT_FALSE(ui.RadioButton3->isChecked());
    EXPECT_EQ(ui.RGLargeSystemCache->ItemIndex(), 0);
    EXPECT_EQ(ui.RadioGroup2->ItemIndex(), 0);

    ui.RadioButton3->click();
    EXPECT_FALSE(ui.RadioButton2->isChecked());
    EXPECT_TRUE(ui.RadioButton3->isChecked());
}

TEST_F(UMainLayout, WindowHoldsTheSixPagesAboveTheStatusBar)
{
    EXPECT_EQ(window.objectName(), QStringLiteral("FMainMem"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("FMainMem"));
    EXPECT_EQ(window.minimumSize(), QSize(449, 310));
    EXPECT_EQ(window.maximumSize(), QSize(449, 310));
    EXPECT_EQ(window.centralWidget()->geometry(), QRect(0, 0, 449, 289));

    const std::pair<const char*, const char*> pages[] = {{"TabSheet1", "Système"},     {"Reglage", "Réglages"},
                                                         {"TabSheet3", "Paramètres"},  {"TabSheet5", "Informations"},
                                                         {"TabSheet4", "Processeur"},  {"TabSheet2", "A propos de..."}};
    ASSERT_EQ(ui.Memoire->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ui.Memoire->widget(i)->objectName(), QString::fromLatin1(pages[i].first));
        EXPECT_EQ(ui.Memoire->tabText(i), U(pages[i].second));
    }
    EXPECT_EQ(ui.Memoire->currentWidget(), ui.Reglage);
    EXPECT_EQ(ui.Memoire->tabBar()->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(ui.Memoire->HotTrack());
}

TEST_F(UMainLayout, StatusBarHasThreeFixedPanels)
{
    EXPECT_EQ(window.statusBar(), ui.StatusBar);
    EXPECT_EQ(ui.StatusBar->height(), 21);
    EXPECT_EQ(ui.StatusBar->geometry().top(), 289);
    EXPECT_TRUE(ui.StatusBar->font().bold());
    EXPECT_EQ(ui.StatusBar->font().family(), QStringLiteral("Arial"));

    const std::tuple<QWidget*, const char*, int, int> panels[] = {
        {ui.StatusPanel0, "TStatusPanel", 0, 60}, {ui.StatusPanel1, "TStatusPanel", 60, 60}, {ui.StatusPanel2, "TStatusGauge", 120, 100}};
    for (const auto& [panel, kind, left, width] : panels) {
        SCOPED_TRACE(left);
        EXPECT_STREQ(panel->metaObject()->className(), kind);
        EXPECT_EQ(panel->parentWidget(), ui.StatusBar);
        EXPECT_EQ(panel->x(), left);
        EXPECT_EQ(panel->width(), width);
        EXPECT_TRUE(panel->isEnabled());
        EXPECT_TRUE(panel->isVisible());
    }
    EXPECT_EQ(ui.StatusPanel2->value(), 0);
    EXPECT_EQ(ui.StatusPanel2->Text(), QString());
}

// One menu item: object name, caption, hint (nullptr: none), enabled, checkable.
struct TMenuItem {
    const char* name;
    const char* text;
    const char* hint;
    bool enabled;
    bool checkable;
};

void ExpectItems(QMenu* menu, std::initializer_list<TMenuItem> items)
{
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size()));
    int i = 0;
    for (const TMenuItem& item : items) {
        SCOPED_TRACE(item.name);
        QAction* action = actions[i++];
        EXPECT_EQ(action->objectName(), QString::fromLatin1(item.name));
        EXPECT_EQ(action->text(), U(item.text));
        if (item.hint) {
            EXPECT_EQ(action->toolTip(), U(item.hint));
        }
        EXPECT_EQ(action->isEnabled(), item.enabled);
        EXPECT_EQ(action->isCheckable(), item.checkable);
        EXPECT_FALSE(action->isChecked());
    }
}

TEST_F(UMainLayout, PopUpMenusHoldTheirItems)
{
    EXPECT_EQ(menus.PopupMenu1->objectName(), QStringLiteral("PopupMenu1"));
    ExpectItems(menus.PopupMenu1, {{"Open1", "a&Grandir", "Restore Quillex XP", true, false},
                                   {"RecoverRam1", "&Optimiser RAM", "Recover Ram", true, false},
                                   {"Cancel1", "&Annuler", nullptr, false, false},
                                   {"Exit1", "&Quitter", "Quit Quillex XP", true, false}});
    EXPECT_EQ(menus.PopupMenu2->objectName(), QStringLiteral("PopupMenu2"));
    ExpectItems(menus.PopupMenu2,
                {{"Basse1", "Basse", nullptr, true, true}, {"Normale1", "Normale", nullptr, true, true}, {"Haute1", "Haute", nullptr, true, true}});
}

// A right click delivered to a widget, passed up to its parents until one takes it.
void RightClick(QWidget* widget)
{
    const QPoint position(2, 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, widget->mapToGlobal(position));
    QApplication::sendEvent(widget, &event);
}

TEST_F(UMainLayout, RightClicksOpenTheMenuOfTheControl)
{
    // The tabs and every page without a menu of its own fall back on the page control's menu.
    const std::pair<QWidget*, QMenu*> cases[] = {{ui.Memoire->tabBar(), menus.PopupMenu1},
                                                 {ui.TabSheet3, menus.PopupMenu1},
                                                 {ui.Label30, menus.PopupMenu1},
                                                 {ui.PerfChart1, menus.PopupMenu2}};
    for (const auto& [widget, menu] : cases) {
        SCOPED_TRACE(widget->objectName().toStdString());
        ui.Memoire->setCurrentWidget(ui.TabSheet1);
        if (widget == ui.TabSheet3)
            ui.Memoire->setCurrentWidget(ui.TabSheet3);
        RightClick(widget);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_FALSE((menu == menus.PopupMenu1 ? menus.PopupMenu2 : menus.PopupMenu1)->isVisible());
        menu->hide();
    }
}

// Pictures of every page for people to look at, written only when an output folder is given.
TEST_F(UMainLayout, PagesCanBeLookedAt)
{
    const QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "TEST_OUTPUT_DIR is not set";
    QDir().mkpath(folder);
    for (int i = 0; i < ui.Memoire->count(); ++i) {
        ui.Memoire->setCurrentIndex(i);
        const QString file = QDir(folder).filePath(QStringLiteral("main-window-%1-%2.png").arg(i).arg(ui.Memoire->widget(i)->objectName()));
        EXPECT_TRUE(window.grab().save(file)) << file.toStdString();
    }
}

}  // namespace
