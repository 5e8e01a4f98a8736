// Anchor of the library library; its sources sit beside this file.
