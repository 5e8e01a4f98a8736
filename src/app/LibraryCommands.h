#pragma once
// The motif library's commands of the main window: "Library ..." (the browser; "Load" puts
// the chosen motif on the chart as a floating block) and "Add to library" (the selection, or
// the whole design, saved as a motif). Their dialogs are made on first use and kept.

class MainWindow;
class TFLibrary;
class TFLibraryAdd;

namespace LibraryCommands {

// Connects the two menu entries.
void connect(MainWindow& window);
// "Library ...": the browser, and on "Load" the motif as a floating block. False when
// nothing was loaded.
bool Library1Click(MainWindow& window);
// "Add to library": the add dialog over the selection (clipped to the design) or the whole
// design. False when nothing was saved.
bool MenuAddToLibraryClick(MainWindow& window);
// The window's dialogs, made on first use.
TFLibrary* libraryDialog(MainWindow& window);
TFLibraryAdd* addDialog(MainWindow& window);

} // namespace LibraryCommands
