// Anchor of the files library; its sources sit beside this file.
