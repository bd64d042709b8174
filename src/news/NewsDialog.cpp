// SPDX-License-Identifier: GPL-3.0-or-later
#include "news/NewsDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "news/NewsFile.h"

namespace {

const QString kDefaultFileName = QStringLiteral("news.inf");
constexpr int kPanelHeight = 26;
constexpr int kIndent = 24;
constexpr QSize kInitialSize(470, 310);
// A node shows no more than a tree view's line of text: a title of megabytes would take seconds
// to lay out at every paint.
constexpr qsizetype kMaxShownText = 260;

// The hourglass for as long as the download runs, however the wait ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TNewsDialog::TNewsDialog(platform::IDownloader& downloader, platform::IShellOpener& shell, QWidget* parent)
    : QWidget(parent, Qt::Tool), downloader_(downloader), shell_(shell)
{
    QFont shownFont = font();
    shownFont.setFamily(QStringLiteral("MS Sans Serif"));
    setFont(shownFont);
    resize(kInitialSize);
    setMinimumSize(kInitialSize);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setFixedHeight(kPanelHeight);
    btnUpdate = new QToolButton(Panel1);
    btnUpdate->setObjectName(QStringLiteral("btnUpdate"));
    btnUpdate->setText(QStringLiteral("Update"));
    btnUpdate->setAutoRaise(true);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(btnUpdate);
    panelLayout->addStretch();

    tvDirect = new QTreeWidget(this);
    tvDirect->setObjectName(QStringLiteral("tvDirect"));
    tvDirect->setHeaderHidden(true);
    tvDirect->setColumnCount(1);
    tvDirect->setIndentation(kIndent);
    tvDirect->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvDirect->setMouseTracking(true);  // hot tracking: the entry under the mouse lights up
    tvDirect->setIconSize(QSize(16, 16));

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    // A label rather than a painted message, so that a screen reader reads the status too.
    statusText_ = new QLabel(StatusBar);
    StatusBar->addWidget(statusText_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(tvDirect, 1);
    layout->addWidget(StatusBar);

    // Queued: whoever pressed the button (the mouse, the keyboard, a screen reader's press
    // action) gets its answer at once, and the download runs from the event loop after it.
    connect(btnUpdate, &QToolButton::clicked, this, &TNewsDialog::btnUpdateClick, Qt::QueuedConnection);
    connect(tvDirect, &QTreeWidget::itemClicked, this, &TNewsDialog::tvDirectClick);
    // Enter on a link opens it as a click does (a click has already opened and let go of the
    // link a double click activates).
    connect(tvDirect, &QTreeWidget::itemActivated, this, &TNewsDialog::tvDirectClick);
}

const std::vector<QIcon>& TNewsDialog::ImageList1()
{
    if (imageList1_.empty())
        imageList1_ = {
            style()->standardIcon(QStyle::SP_DirIcon),
            QIcon::fromTheme(QStringLiteral("text-html"), style()->standardIcon(QStyle::SP_FileLinkIcon)),
            QIcon::fromTheme(QStringLiteral("package-x-generic"), style()->standardIcon(QStyle::SP_DriveFDIcon)),
            QIcon::fromTheme(QStringLiteral("application-x-executable"), style()->standardIcon(QStyle::SP_ComputerIcon)),
        };
    return imageList1_;
}

QString TNewsDialog::LocalFileName(const QString& url)
{
    QString name = QUrl(url, QUrl::TolerantMode).fileName();
    name.remove(u'/');
    name.remove(u'\\');
    name.remove(QChar(0));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return kDefaultFileName;
    return name;
}

QString TNewsDialog::LocalPath(const QString& url)
{
    const QDir cache(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    return cache.filePath(QStringLiteral("mnemora-xp/") + LocalFileName(url));
}

QString TNewsDialog::StatusText() const
{
    return statusText_->text();
}

void TNewsDialog::SetStatusText(const QString& text)
{
    statusText_->setText(text);
}

void TNewsDialog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TNewsDialog::FormShow()
{
    SetStatusText(QString());
}

void TNewsDialog::CancelUpdate()
{
    if (updating_)
        downloader_.Abort();
}

void TNewsDialog::btnUpdateClick()
{
    // The window stays live during a download: a second click must not start another one.
    if (updating_)
        return;
    News.clear();
    Links.clear();
    tvDirect->clear();

    const QString url = URL;
    const QString localPath = LocalPath(url);
    const bool hadLocalCopy = QFile::exists(localPath);

    QByteArray body;
    platform::DownloadResult result;
    {
        const QPointer<TNewsDialog> alive(this);
        const WaitCursor hourglass;
        SetStatusText(QStringLiteral("Connecting to: ") + url);
        updating_ = true;
        btnUpdate->setEnabled(false);
        result = downloader_.Download(url, body);
        // The window can be released while the download runs (the program quits, the session
        // ends): then nothing of it may be touched any more.
        if (!alive)
            return;
        updating_ = false;
        btnUpdate->setEnabled(true);
        SetStatusText(QString());
    }

    const bool notFound = result == platform::DownloadResult::NotFound ||
                          (result == platform::DownloadResult::Complete && TNewsFile(body).FirstLineHolds404());
    if (result == platform::DownloadResult::Failed || notFound) {
        const QString problem = notFound ? QStringLiteral("Remote server \"Not Found\" error")
                                         : QStringLiteral("Connection error");
        if (!hadLocalCopy) {
            SetStatusText(problem + QStringLiteral(", request aborted"));
            return;
        }
        // A failed or refused download leaves the previous copy as it was: show that one.
        LoadNews(ReadLocalCopy(localPath));
        SetStatusText(problem + QStringLiteral(", using previous update"));
        return;
    }
    KeepLocalCopy(localPath, body);
    LoadNews(body);
}

QByteArray TNewsDialog::ReadLocalCopy(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TNewsDialog::KeepLocalCopy(const QString& path, const QByteArray& content)
{
    // Written beside the old copy and put in its place only once complete.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

void TNewsDialog::LoadNews(const QByteArray& content)
{
    const TNewsFile file(content);
    News = file.Lines();
    for (const TNewsHeading& heading : file.Headings()) {
        auto* headingNode = new QTreeWidgetItem(tvDirect, QStringList(heading.text.left(kMaxShownText)));
        headingNode->setIcon(0, ImageList1()[TNewsFile::kHeadingImage]);
        headingNode->setData(0, kImageRole, TNewsFile::kHeadingImage);
        for (const TNewsEntry& entry : heading.entries) {
            auto* entryNode = new QTreeWidgetItem(headingNode, QStringList(entry.title.left(kMaxShownText)));
            entryNode->setIcon(0, ImageList1()[entry.image]);
            entryNode->setData(0, kImageRole, entry.image);
            entryNode->setData(0, kLinkIndexRole, static_cast<int>(Links.size()));
            Links.append(entry.link);
        }
    }
}

void TNewsDialog::tvDirectClick()
{
    QTreeWidgetItem* node = tvDirect->currentItem();
    if (!node || !node->isSelected() || !node->parent())
        return;
    const QString link = Links.value(node->data(0, kLinkIndexRole).toInt());
    if (link.isEmpty())
        return;
    if (NotifyComponent)
        NotifyComponent(link);
    shell_.Open(link);
    node->setSelected(false);
}
