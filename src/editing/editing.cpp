// Anchor of the editing library; its sources sit beside this file.
