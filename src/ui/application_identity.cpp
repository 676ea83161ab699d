#include "ui/application_identity.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>

#include "program_info.h"

namespace tollwen {

void SetApplicationIdentity() {
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
  // The icon's sizes are embedded from assets/icon/, so the window shows it also when the
  // program runs from its build folder; QIcon takes each size from its file.
  QIcon icon;
  const QDir sizes(QStringLiteral(":/icon"));
  for (const QString& name : sizes.entryList(QDir::Files)) icon.addFile(sizes.filePath(name));
  QGuiApplication::setWindowIcon(icon);
}

}  // namespace tollwen
