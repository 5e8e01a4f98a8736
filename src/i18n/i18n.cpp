// Anchor of the i18n library; its sources sit beside this file.
