#include "TFUpdate.h"

#include "core/Product.h"
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"
#include "update/HttpFetch.h"
#include "update/UpdateChecker.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char* const kGroupKeys[] = {"Program", "Help files", "Palettes"};
const char* const kColumnKeys[] = {"Name", "Available", "Installed"};
constexpr int kColumnWidths[] = {188, 60, 60};
constexpr int kItemRole = Qt::UserRole + 1;

QString installedText(const std::optional<TVersionInfo>& installed)
{
    return installed ? versionText(*installed) : QStringLiteral("-");
}

} // namespace

TFUpdate::TFUpdate(TStitch& stitch, UpdateChecker& checker, QWidget* parent)
    : QDialog(parent), m_stitch(stitch), m_checker(checker)
{
    setObjectName(QStringLiteral("FUpdate"));
    setTextKey(this, QStringLiteral("Check for updates"), stitch);
    setMinimumSize(700, 650);
    resize(980, 650);

    // The white header band: title, what happens, the product's mark.
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("HeaderBand"));
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    header->setPalette(white);
    auto* title = new QLabel(header);
    title->setObjectName(QStringLiteral("LabelTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);
    setTextKey(title, QStringLiteral("Updates"), stitch);
    auto* text = new QLabel(header);
    text->setObjectName(QStringLiteral("LabelText"));
    text->setWordWrap(true);
    setTextKey(text, QStringLiteral("Looking for updates. It may take a few minutes. Please wait."), stitch);
    auto* logo = new QLabel(header);
    logo->setObjectName(QStringLiteral("ImageLogo"));
    logo->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(40, 40));
    auto* headerText = new QVBoxLayout;
    headerText->addWidget(title);
    headerText->addWidget(text);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->addLayout(headerText, 1);
    headerLayout->addWidget(logo);

    // The list with its label on the left, the links on the right.
    auto* listPanel = new QWidget(this);
    auto* available = new QLabel(listPanel);
    available->setObjectName(QStringLiteral("LabelAvailable"));
    setTextKey(available, QStringLiteral("Available Updates"), stitch);
    m_list = new QTreeWidget(listPanel);
    m_list->setObjectName(QStringLiteral("ListUpdates"));
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setItemsExpandable(false);
    for (int i = 0; i < 3; ++i) {
        auto* group = new QTreeWidgetItem(m_list);
        group->setFlags(Qt::ItemIsEnabled);
        QFont f = group->font(0);
        f.setBold(true);
        group->setFont(0, f);
        group->setFirstColumnSpanned(true);
        group->setExpanded(true);
    }
    m_status = new QLabel(listPanel);
    m_status->setObjectName(QStringLiteral("LabelStatus"));
    m_status->setWordWrap(true);
    m_progress = new QProgressBar(listPanel);
    m_progress->setObjectName(QStringLiteral("ProgressDownload"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    auto* listLayout = new QVBoxLayout(listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(available);
    listLayout->addWidget(m_list, 1);
    listLayout->addWidget(m_status);
    listLayout->addWidget(m_progress);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("UpdateBrowser"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TFUpdate::openLink);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(listPanel);
    splitter->addWidget(m_browser);
    // Room for the three columns in every language; the links take the rest.
    splitter->setSizes({390, 590});

    m_install = new QPushButton(this);
    m_install->setObjectName(QStringLiteral("actInstall"));
    setTextKey(m_install, QStringLiteral("Install selected free updates"), stitch);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BCancel"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("BHelp"));
    setTextKey(m_help, QStringLiteral("Help"), stitch);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_install);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    buttons->addWidget(m_help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(m_install, &QPushButton::clicked, this, &TFUpdate::actInstallExecute);
    connect(m_cancel, &QPushButton::clicked, this, &TFUpdate::ActCancelExecute);
    connect(m_help, &QPushButton::clicked, this, &TFUpdate::HelpClick);
    connect(m_list, &QTreeWidget::itemChanged, this, &TFUpdate::updateCommands);
    connect(&m_checker, &UpdateChecker::checkFinished, this, &TFUpdate::checkFinished);
    connect(&m_checker, &UpdateChecker::downloadFinished, this, &TFUpdate::downloadFinished);
    connect(&m_checker, &UpdateChecker::downloadProgress, this,
            [this](int index, int count, qint64 received, qint64 total) {
                // Whole files done, plus the share of the one arriving.
                const double part = total > 0 ? double(received) / double(total) : 0.0;
                m_progress->setRange(0, 1000);
                m_progress->setValue(int(1000.0 * (index + std::min(part, 1.0)) / std::max(count, 1)));
            });
    setStatus(QString());
    translateUi();
    updateCommands();
}

TFUpdate::~TFUpdate() = default;

QTreeWidgetItem* TFUpdate::groupItem(Group group) const
{
    return m_list->topLevelItem(int(group));
}

void TFUpdate::translateUi()
{
    retranslate(this, m_stitch);
    QStringList headers;
    for (const char* key : kColumnKeys)
        headers << m_stitch.translate(QString::fromLatin1(key));
    m_list->setHeaderLabels(headers);
    // The columns keep their widths, or widen so that a translated caption is not cut off.
    const QFontMetrics metrics(m_list->header()->font());
    for (int c = 0; c < 3; ++c)
        m_list->setColumnWidth(c, std::max(kColumnWidths[c], metrics.horizontalAdvance(headers.at(c)) + 16));
    for (int i = 0; i < 3; ++i)
        groupItem(Group(i))->setText(0, m_stitch.translate(QString::fromLatin1(kGroupKeys[i])));
    m_status->setText(m_statusKey.isEmpty() ? QString() : m_stitch.translate(m_statusKey));
    showSidePanel();
    updateCommands();
}

void TFUpdate::setStatus(const QString& key)
{
    m_statusKey = key;
    m_status->setText(key.isEmpty() ? QString() : m_stitch.translate(key));
}

void TFUpdate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The check starts once the window has painted.
    if (vforceShow)
        QTimer::singleShot(0, this, [this] {
            if (vforceShow)
                FormActivate();
        });
}

void TFUpdate::FormActivate()
{
    vforceShow = false;
    m_install->setEnabled(false);
    m_checked = false;
    for (int i = 0; i < 3; ++i)
        qDeleteAll(groupItem(Group(i))->takeChildren());
    m_browser->clear();
    if (!m_checker.isConfigured()) {
        setStatus(QStringLiteral("No update server is configured."));
        showMessage(m_checker.notConfiguredMessage());
        updateCommands();
        return;
    }
    setStatus(QStringLiteral("Check for updates"));
    // A background check that is still running is taken over.
    m_ownCheck = m_checker.isChecking() || m_checker.check();
    updateCommands();
}

void TFUpdate::checkFinished(bool ok, const QString& message)
{
    if (!m_ownCheck)
        return;
    m_ownCheck = false;
    if (!ok) {
        setStatus(QStringLiteral("Could not find updates"));
        updateCommands();
        showMessage(m_stitch.translate(QStringLiteral("Could not find updates")) + QStringLiteral("\n\n") + message);
        return;
    }
    setStatus(QStringLiteral("Search closed"));
    loadOffers();
}

void TFUpdate::loadOffers()
{
    const QSignalBlocker blocker(m_list);
    for (int i = 0; i < 3; ++i)
        qDeleteAll(groupItem(Group(i))->takeChildren());
    const UpdateOffers& offers = m_checker.offers();
    const auto addRow = [&](Group group, const UpdateOffer& offer, const QString& caption, bool checkable) {
        auto* row = new QTreeWidgetItem(groupItem(group));
        row->setText(0, caption);
        row->setText(1, versionText(offer.item));
        row->setText(2, installedText(offer.installed));
        row->setData(0, kItemRole, QVariant::fromValue(int(row->parent()->indexOfChild(row))));
        if (checkable) {
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            row->setCheckState(0, Qt::Checked);
        } else {
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    };
    // The program is installed by the package manager: its row leads to the download page.
    if (offers.program)
        addRow(groupProgram, *offers.program, offers.program->item.Name, false);
    for (const UpdateOffer& o : offers.helps)
        addRow(groupHelp, o, o.item.Name + QStringLiteral(" - ") + o.item.Filename, true);
    for (const UpdateOffer& o : offers.palettes)
        addRow(groupPalettes, o, o.item.Name, true);
    m_list->expandAll();
    m_checked = true;
    showSidePanel();
    updateCommands();
}

QList<TVersionInfo> TFUpdate::selectedUpdates() const
{
    QList<TVersionInfo> out;
    const UpdateOffers& offers = m_checker.offers();
    const struct { Group group; const QList<UpdateOffer>* list; } groups[] = {
        {groupHelp, &offers.helps}, {groupPalettes, &offers.palettes}};
    for (const auto& g : groups) {
        QTreeWidgetItem* parent = groupItem(g.group);
        for (int i = 0; i < parent->childCount() && i < g.list->size(); ++i)
            if (parent->child(i)->checkState(0) == Qt::Checked)
                out << g.list->at(i).item;
    }
    return out;
}

void TFUpdate::showSidePanel()
{
    if (!m_checked) {
        m_browser->clear();
        return;
    }
    const UpdateOffers& offers = m_checker.offers();
    QString html;
    const auto link = [](const QUrl& url, const QString& caption) {
        return QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(),
                                                            caption.toHtmlEscaped());
    };
    if (offers.program) {
        const TVersionInfo& p = offers.program->item;
        html += QStringLiteral("<h3>%1</h3>").arg(
            m_stitch.translate(QStringLiteral("Quillmark %1 is available.")).arg(versionText(p)).toHtmlEscaped());
        html += QStringLiteral("<p>%1</p>").arg(
            m_stitch.translate(QStringLiteral("New releases of the program are installed with the system's package manager.")).toHtmlEscaped());
        const QUrl url(p.URL);
        if (!p.URL.isEmpty() && refusedAddress(url).isEmpty())
            html += QStringLiteral("<p>%1</p>").arg(link(url, m_stitch.translate(QStringLiteral("Download page"))));
    }
    if (offers.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(m_stitch.translate(QStringLiteral("No updates are available.")).toHtmlEscaped());
    else if (!offers.helps.isEmpty() || !offers.palettes.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(m_stitch.translate(
            QStringLiteral("Ticked help files and palettes are downloaded and installed the next time the program starts.")).toHtmlEscaped());
    for (const auto& [key, arguments] : offers.refused)
        html += QStringLiteral("<p>%1</p>").arg(QuillError(key, arguments).translated(m_stitch).toHtmlEscaped());
    const QUrl page = m_checker.updatePageUrl();
    if (page.isValid() && refusedAddress(page).isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(link(page, m_stitch.translate(QStringLiteral("Update page"))));
    m_browser->setHtml(html);
}

void TFUpdate::updateCommands()
{
    const bool running = m_checker.isChecking() || m_checker.isDownloading();
    m_install->setEnabled(!running && !selectedUpdates().isEmpty());
    m_cancel->setText(m_stitch.translate(running ? QStringLiteral("Cancel") : QStringLiteral("Close")));
    m_progress->setVisible(m_checker.isDownloading());
}

void TFUpdate::actInstallExecute()
{
    const QList<TVersionInfo> selected = selectedUpdates();
    if (selected.isEmpty() || !m_checker.download(selected))
        return;
    m_progress->setRange(0, 0);
    setStatus(QStringLiteral("Downloading updates ..."));
    updateCommands();
}

void TFUpdate::downloadFinished(int code, const QString& message)
{
    updateCommands();
    switch (code) {
    case UpdateChecker::DownloadOk:
        setStatus(QStringLiteral("Search closed"));
        showMessage(m_stitch.translate(QStringLiteral(
            "Updates were downloaded successfully. They will be available next time you run the program")));
        accept();
        break;
    case UpdateChecker::DownloadCanceled:
        setStatus(QStringLiteral("Download canceled by user"));
        showMessage(m_stitch.translate(QStringLiteral("Download canceled by user")));
        break;
    default:
        setStatus(QStringLiteral("An error occured while downloading updates. Please try again"));
        showMessage(m_stitch.translate(QStringLiteral("An error occured while downloading updates. Please try again"))
                    + QStringLiteral("\n\n") + message);
        break;
    }
}

void TFUpdate::ActCancelExecute()
{
    // The window closes first, so that the cancellation's message has no window to wait on.
    const bool downloading = m_checker.isDownloading();
    m_ownCheck = false;
    accept();
    if (downloading || m_checker.isChecking())
        m_checker.cancel();
}

void TFUpdate::HelpClick()
{
    showHelpContext(this, m_stitch, kHelpContext);
}

void TFUpdate::openLink(const QUrl& url)
{
    // Only web addresses are opened, in the user's web browser.
    if (!refusedAddress(url).isEmpty())
        return;
    if (m_linkHandler)
        m_linkHandler(url);
    else
        QDesktopServices::openUrl(url);
}

void TFUpdate::showMessage(const QString& text)
{
    if (m_messageHandler)
        m_messageHandler(text);
    else
        showMessageBox(this, QMessageBox::Information, m_stitch.translate(QStringLiteral("Check for updates")),
                       text, m_stitch);
}
