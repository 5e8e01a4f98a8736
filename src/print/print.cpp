// Anchor of the print library; its sources sit beside this file.
