#pragma once
// Everything Qt itself shows in Chinese: the standard buttons ("确定", "取消"), the
// calendars' month and day names, the number and date forms. Qt's own translation comes from
// Debian's qt6-translations-l10n.

class QCoreApplication;

namespace chinese {

// Sets the default locale to Chinese/China and installs qtbase_zh_CN on the application.
// Returns false when the translation file is missing (Qt's texts then stay English).
bool install(QCoreApplication &app);

}  // namespace chinese
