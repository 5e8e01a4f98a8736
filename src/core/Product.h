#pragma once
// The product values of the pixel-art product mode the application always runs in.

#include <QString>

namespace Product {
inline const QString kSettingsKeyPath = QStringLiteral("SOFTWARE\\Korvald\\Quillmark\\5\\General");
inline const QString kNativeExtension = QStringLiteral(".qvxp");
inline const QString kDefaultSubtitle = QStringLiteral("Created with KORVALD Quillmark");
inline const QString kCaptionPrefix = QStringLiteral("KORVALD Quillmark ");
inline const QString kProductName = QStringLiteral("Quillmark");
inline const QString kAboutTitle = QStringLiteral("KORVALD Quillmark");
inline const QString kSymbolFontFile = QStringLiteral("KorvaldArtSymbols110.ttf");
// The maker's web address, printed on the information page.
inline const QString kWebAddress = QStringLiteral("https://quillmark.example.org");
inline constexpr int kDefaultDesignSize = 50;
inline constexpr int kStartZoom = 8;
inline constexpr int kGhostOpacity = 50;
} // namespace Product
