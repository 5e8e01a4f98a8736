#include "LibraryCommands.h"

#include "MainWindow.h"
#include "editing/ToolController.h"
#include "library/MotifLibrary.h"
#include "library/ui/TFLibrary.h"
#include "library/ui/TFLibraryAdd.h"

#include <QAction>

namespace LibraryCommands {

TFLibrary* libraryDialog(MainWindow& window)
{
    if (auto* d = window.findChild<TFLibrary*>(QString(), Qt::FindDirectChildrenOnly))
        return d;
    return new TFLibrary(window.stitch(), &window);
}

TFLibraryAdd* addDialog(MainWindow& window)
{
    if (auto* d = window.findChild<TFLibraryAdd*>(QString(), Qt::FindDirectChildrenOnly))
        return d;
    return new TFLibraryAdd(window.document(), &window);
}

bool Library1Click(MainWindow& window)
{
    TFLibrary* dialog = libraryDialog(window);
    dialog->translateUi();
    dialog->prepare(true);
    if (dialog->exec() != QDialog::Accepted || !dialog->browser().canLoad())
        return false;
    TClipboard clip = dialog->browser().clipboard();
    if (clip.isEmpty())
        return false;
    // The tool ends and the selection tool starts afresh, so the block appears at the first
    // visible cell, where a paste would put it.
    window.Setmode(modCursor);
    window.startFloatingBlock(std::move(clip));
    return true;
}

bool MenuAddToLibraryClick(MainWindow& window)
{
    const TSelection& selection = window.tools()->selection();
    const QRect frame = selection.SelectionRect();
    const QRect rectangle = MotifLibrary::addRectangle(window.document(), selection.active() ? &frame : nullptr);
    TFLibraryAdd* dialog = addDialog(window);
    dialog->translateUi();
    dialog->prepare(rectangle);
    return dialog->exec() == QDialog::Accepted;
}

void connect(MainWindow& window)
{
    QObject::connect(window.action(QStringLiteral("MenuLibrary")), &QAction::triggered, &window,
                     [&window] { Library1Click(window); });
    QObject::connect(window.action(QStringLiteral("MenuAddToLibrary")), &QAction::triggered, &window,
                     [&window] { MenuAddToLibraryClick(window); });
}

} // namespace LibraryCommands
