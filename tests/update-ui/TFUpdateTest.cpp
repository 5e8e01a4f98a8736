// The update window driven as the user does: it checks as it opens, lists the offers in their
// groups, leads to the program's download page, downloads the ticked help pages and palettes,
// and says what went wrong when the check fails or no server is configured.
#include "../update/UpdateFixture.h"

#include "update/UpdateManifest.h"
#include "i18n/ui/THelpWindow.h"
#include "update/ui/TFUpdate.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QHeaderView>
#include <QTreeWidget>

using namespace updatetest;

namespace {

const QString kList = QStringLiteral("/DownloadInfo/UpdatesQmk.xml");

class TFUpdateTest : public UpdateFixture
{
protected:
    void SetUp() override
    {
        UpdateFixture::SetUp();
        dialog = std::make_unique<TFUpdate>(st, *checker);
        dialog->setMessageHandler([this](const QString& m) { messages << m; });
        dialog->setLinkHandler([this](const QUrl& u) { links << u; });
    }

    // Opens the window as the command does and waits for the status its check ends with.
    void openAndWait(const QString& status = QStringLiteral("Search closed"))
    {
        dialog->vforceShow = true;
        dialog->show();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return !dialog->vforceShow && !checker->isChecking() && dialog->statusLabel()->text() == status;
        }, 10000)) << dialog->statusLabel()->text().toStdString();
    }

    QByteArray list() const
    {
        const QByteArray base = server.baseAddress().toLatin1();
        return "<Updates><Installers>"
               "<I Major=\"5\" Minor=\"2\" Release=\"1\" URL=\"https://example.org/download\" Filename=\"q.deb\"/>"
               "</Installers><Helps>"
               "<H Language=\"deutsch\" Major=\"5\" Minor=\"0\" Release=\"2\" URL=\"" + base + "de/print.html\" Filename=\"print.html\"/>"
               "</Helps><Palettes>"
               "<P Name=\"Anchor\" Major=\"1\" Minor=\"0\" Release=\"0\" URL=\"" + base + "Anchor.ctb\" Filename=\"Anchor.ctb\"/>"
               "<P Name=\"Madeira\" Major=\"1\" Minor=\"0\" Release=\"0\" URL=\"" + base + "Madeira.ctb\" Filename=\"Madeira.ctb\"/>"
               "</Palettes></Updates>";
    }

    std::unique_ptr<TFUpdate> dialog;
    QStringList messages;
    QList<QUrl> links;
};

TEST_F(TFUpdateTest, OpeningChecksAndListsTheOffersInTheirGroups)
{
    server.setBody(kList, list());
    openAndWait();
    EXPECT_EQ(dialog->statusLabel()->text(), "Search closed");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(dialog->windowTitle(), "Check for updates");
    EXPECT_GE(dialog->width(), 700);
    EXPECT_GE(dialog->height(), 650);

    QTreeWidget* list = dialog->list();
    EXPECT_EQ(list->headerItem()->text(0), "Name");
    EXPECT_EQ(list->headerItem()->text(1), "Available");
    EXPECT_EQ(list->headerItem()->text(2), "Installed");
    QTreeWidgetItem* program = dialog->groupItem(TFUpdate::groupProgram);
    EXPECT_EQ(program->text(0), "Program");
    ASSERT_EQ(program->childCount(), 1);
    EXPECT_EQ(program->child(0)->text(0), "Quillmark");
    EXPECT_EQ(program->child(0)->text(1), "5.2.1");
    EXPECT_EQ(program->child(0)->text(2), "5.1.3");
    ASSERT_EQ(dialog->groupItem(TFUpdate::groupHelp)->childCount(), 1);
    EXPECT_EQ(dialog->groupItem(TFUpdate::groupHelp)->child(0)->text(2), "-");
    ASSERT_EQ(dialog->groupItem(TFUpdate::groupPalettes)->childCount(), 2);
    EXPECT_EQ(dialog->selectedUpdates().size(), 3);
    EXPECT_TRUE(dialog->installButton()->isEnabled());
    EXPECT_EQ(dialog->cancelButton()->text(), "Close");

    // The program is offered as a link to its download page, opened in the web browser.
    const QString html = dialog->browser()->toHtml();
    EXPECT_TRUE(html.contains("https://example.org/download")) << html.toStdString();
    EXPECT_TRUE(dialog->browser()->toPlainText().contains("Quillmark 5.2.1 is available."));
    emit dialog->browser()->anchorClicked(QUrl("https://example.org/download"));
    // Addresses that are no web pages are never opened.
    emit dialog->browser()->anchorClicked(QUrl("file:///etc/passwd"));
    EXPECT_EQ(links, QList<QUrl>{QUrl("https://example.org/download")});
}

TEST_F(TFUpdateTest, TheTickedHelpPagesAndPalettesAreDownloaded)
{
    server.setBody(kList, list());
    server.setBody("/de/print.html", helpPageBytes("Drucken"));
    server.setBody("/Madeira.ctb", paletteBytes("Madeira"));
    openAndWait();
    // Untick the Anchor palette.
    QTreeWidgetItem* anchor = dialog->groupItem(TFUpdate::groupPalettes)->child(0);
    ASSERT_EQ(anchor->text(0), "Anchor");
    anchor->setCheckState(0, Qt::Unchecked);
    ASSERT_EQ(dialog->selectedUpdates().size(), 2);

    dialog->installButton()->click();
    EXPECT_FALSE(dialog->installButton()->isEnabled());
    EXPECT_EQ(dialog->cancelButton()->text(), "Cancel");
    EXPECT_TRUE(dialog->progressBar()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 10000));
    EXPECT_EQ(messages.last(),
              "Updates were downloaded successfully. They will be available next time you run the program");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(server.requests().contains("/Anchor.ctb"));
    const QList<PendingUpdate> pending = readManifest(readFile(pendingManifestPath(st)), "m");
    ASSERT_EQ(pending.size(), 2);
    EXPECT_EQ(pending[0].item.Name, "deutsch");
    EXPECT_EQ(pending[1].item.Name, "Madeira");
}

TEST_F(TFUpdateTest, AFailedDownloadSaysWhy)
{
    server.setBody(kList, list());
    server.setBody("/de/print.html", "#!/bin/sh\n");
    openAndWait();
    dialog->groupItem(TFUpdate::groupPalettes)->child(0)->setCheckState(0, Qt::Unchecked);
    dialog->groupItem(TFUpdate::groupPalettes)->child(1)->setCheckState(0, Qt::Unchecked);
    dialog->installButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 10000));
    EXPECT_TRUE(messages.last().startsWith("An error occured while downloading updates. Please try again"));
    EXPECT_TRUE(messages.last().contains("not an HTML document")) << messages.last().toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cancelButton()->text(), "Close");
    EXPECT_FALSE(QFileInfo::exists(pendingManifestPath(st)));
    dialog->cancelButton()->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(TFUpdateTest, AFailedCheckAndAMissingServerAreReported)
{
    server.setBody(kList, "<Updates><Installers>");
    openAndWait("Could not find updates");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Could not find updates"));
    EXPECT_TRUE(messages[0].contains(server.baseAddress() + "DownloadInfo/UpdatesQmk.xml")) << messages[0].toStdString();
    EXPECT_FALSE(dialog->installButton()->isEnabled());
    dialog->hide();

    messages.clear();
    store->writeString(UpdateChecker::kServerSetting, QString());
    openAndWait("No update server is configured.");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("No update server is configured")) << messages[0].toStdString();
    EXPECT_EQ(dialog->list()->topLevelItem(0)->childCount(), 0);
}

TEST_F(TFUpdateTest, HelpOpensTheUpdatePage)
{
    st.HelpPath.clear(); // the shipped help
    dialog->helpButton()->click();
    auto* help = dialog->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->context(), TFUpdate::kHelpContext);
    EXPECT_TRUE(help->pagePath().endsWith("update-check.html")) << help->pagePath().toStdString();
}

} // namespace

namespace {

TEST_F(TFUpdateTest, ATranslatedColumnCaptionIsNotCutOff)
{
    // The columns are 188, 60 and 60 pixels wide; a longer caption widens its column.
    st.Language.insert(QStringLiteral("Available"), QStringLiteral("Disponible au téléchargement"));
    dialog->translateUi();
    QTreeWidget* list = dialog->list();
    EXPECT_EQ(list->headerItem()->text(1), "Disponible au téléchargement");
    for (int c = 0; c < 3; ++c)
        EXPECT_GE(list->columnWidth(c), list->header()->fontMetrics().horizontalAdvance(list->headerItem()->text(c)))
            << c;
    EXPECT_EQ(list->columnWidth(0), 188);
}

} // namespace
