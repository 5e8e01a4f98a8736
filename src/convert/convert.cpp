// Anchor of the convert library; its sources sit beside this file.
