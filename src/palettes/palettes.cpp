// Anchor of the palettes library; its sources sit beside this file.
