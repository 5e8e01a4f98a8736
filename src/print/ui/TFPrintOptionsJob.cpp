// The print dialog's "Print" button: the job on the printer or into export files, with the
// progress window.
#include "TFPrintOptions.h"

#include "TFPrintInProgress.h"
#include "PrinterTarget.h"

#include "core/QuillError.h"
#include "core/TStitch.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>

namespace {
const char* const kMessageNotPrinted = "Project was not printed";
} // namespace

bool TFPrintOptions::printJob()
{
    if (m_runner->isRunning() || !m_doc || m_printer.printerState() == QPrinter::Active)
        return false;
    m_written.clear();
    try {
        return m_model.exportMode() ? runExport() : runOnPrinter();
    } catch (const QuillError& e) {
        showMessage(QString::fromLatin1(kMessageNotPrinted), e.message());
    }
    return false;
}

bool TFPrintOptions::runJob(const PrintJobRunner::Work& work, bool onWorker)
{
    // The options cannot change under the job; the progress window follows it and its
    // Cancel stops it after the page being drawn.
    m_body->setEnabled(false);
    m_progress->start(m_model.preview.pageNumber);
    m_progress->show();
    m_progress->raise();
    const auto showPage = [this](int page, int pages) {
        if (m_progress->pageBar()->maximum() != pages)
            m_progress->start(pages);
        m_progress->setPage(page - 1);
    };
    bool completed = false;
    QString error;
    m_running = true;
    if (onWorker) {
        QEventLoop loop;
        const auto onProgress = connect(m_runner, &PrintJobRunner::progress, this, showPage);
        const auto onCancel = connect(m_progress, &TFPrintInProgress::cancelled, m_runner,
                                      &PrintJobRunner::cancel);
        const auto onEnd = connect(m_runner, &PrintJobRunner::finished, &loop,
                                   [&](bool done, const QString& message) {
                                       completed = done;
                                       error = message;
                                       loop.quit();
                                   });
        if (m_runner->start(work)) {
            // A Cancel pressed before the job began counts too.
            if (m_progress->cancelRequested())
                m_runner->cancel();
            loop.exec();
        }
        disconnect(onProgress);
        disconnect(onCancel);
        disconnect(onEnd);
    } else {
        // In slices: between pages the window repaints and Cancel is seen.
        try {
            completed = work([&](int page, int pages) {
                showPage(page, pages);
                QApplication::processEvents();
                return !m_progress->cancelRequested();
            });
        } catch (const QuillError& e) {
            error = e.message();
        } catch (const std::exception& e) {
            error = QString::fromLocal8Bit(e.what());
        }
    }
    m_running = false;
    m_progress->hide();
    m_body->setEnabled(true);
    if (!error.isEmpty())
        showMessage(QString::fromLatin1(kMessageNotPrinted), error);
    return completed;
}

TPrintJobInput TFPrintOptions::jobInput()
{
    m_jobOptions = m_model.layoutOptions();
    return TPrintJobInput{*m_doc, m_stitch, m_model.preview, m_jobOptions, m_model.keys(),
                          m_model.stitchSteps()};
}

bool TFPrintOptions::runOnPrinter()
{
    bool askedFile = false;
    if (m_printer.outputFormat() == QPrinter::PdfFormat && m_printer.outputFileName().isEmpty()) {
        // No printer here: the pages go into a PDF file the user names, offered in the export
        // folder under the design's name.
        const QString offered = QDir(QDir::fromNativeSeparators(m_path->text().trimmed()))
                                    .filePath(defaultExportFileName(m_stitch.filename(), etPDF));
        const QString file = QFileDialog::getSaveFileName(
            this, windowTitle(), QDir::toNativeSeparators(offered), QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty())
            return false;
        m_printer.setOutputFileName(file);
        askedFile = true;
    }
    const QString title = QFileInfo(m_stitch.filename()).fileName();
    // The printer belongs to this thread: its job runs here, in slices.
    const bool done = runJob([this, title, input = jobInput()](const PrintJob::Progress& progress) {
        PrintJob job(input);
        PrinterTarget target(m_printer, title);
        if (!job.run(target, progress))
            return false;
        target.end();
        return true;
    }, false);
    // The next job asks again instead of writing over the file.
    if (askedFile)
        m_printer.setOutputFileName(QString());
    return done;
}

TExportRequest TFPrintOptions::exportRequest() const
{
    TExportRequest r;
    r.type = m_model.imageType();
    r.fileName = m_fileName->text().trimmed();
    const QString folder = QDir::fromNativeSeparators(m_path->text().trimmed());
    if (r.type == etPDF) {
        // One file: the name without its page-number place, with the PDF extension.
        QString name = r.fileName;
        name.remove(QLatin1Char('#'));
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            name.truncate(dot);
        r.path = QDir(folder).filePath(name + exportTypeExtension(etPDF));
    } else {
        r.path = folder;
    }
    // The files use the stored quality; the field is not tied to it.
    r.quality = m_stitch.print.JPEGQuality;
    r.title = QFileInfo(m_stitch.filename()).fileName();
    return r;
}

bool TFPrintOptions::runExport()
{
    TExportRequest request = exportRequest();
    const QString problem = checkExportFileName(request.fileName);
    if (!problem.isEmpty()) {
        showMessage(problem);
        return false;
    }
    const QString folder = request.type == etPDF ? QFileInfo(request.path).absolutePath()
                                                 : request.path;
    try {
        makeExportFolder(folder);
    } catch (const QuillError&) {
        showMessage(QString::fromLatin1(kFoldernameNotValid));
        return false;
    }
    if (m_model.preview.pageNumber <= 0) {
        showMessage(QString::fromLatin1(kMessageNotPrinted));
        return false;
    }
    const QStringList existing = existingExportTargets(request, m_model.preview.pageNumber);
    if (!existing.isEmpty()) {
        QStringList shown;
        for (const QString& f : existing.mid(0, 5))
            shown << QDir::toNativeSeparators(f);
        if (existing.size() > 5)
            shown << QStringLiteral("...");
        const auto answer = QMessageBox::question(
            this, windowTitle(),
            m_stitch.translate(QStringLiteral("These files exist already. Replace them?"))
                + QStringLiteral("\n\n") + shown.join(QLatin1Char('\n')),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
        request.overwrite = true;
    }
    QStringList written;
    // Pictures are drawn on the worker thread. A PDF file stays on this thread, in slices:
    // Qt's PDF writer embeds the fonts through font engines that a thread which has ended
    // leaves behind, so a second PDF written on another worker thread crashes.
    const bool onWorker = request.type != etPDF;
    const bool done = runJob([&written, request, input = jobInput()](const PrintJob::Progress& progress) {
        PrintJob job(input);
        written = exportPages(job, request, progress);
        return !written.isEmpty();
    }, onWorker);
    m_written = written;
    return done;
}
