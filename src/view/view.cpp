// Anchor of the view library; its sources sit beside this file.
