#include "librecad/twinfind_plugin.h"

#include <QMessageBox>
#include <exception>

#include "librecad/lc_command_line.h"
#include "librecad/lc_entries.h"

using twinfind::librecad::Entry;

QString TwinfindPlugin::name() const { return QStringLiteral("Twinfind"); }

PluginCapabilities TwinfindPlugin::getCapabilities() const {
  PluginCapabilities capabilities;
  for (const Entry entry : {Entry::kCommand, Entry::kSurvey, Entry::kSettings}) {
    capabilities.menuEntryPoints << PluginMenuLocation(QStringLiteral("plugins_menu"),
                                                       twinfind::librecad::EntryName(entry));
  }
  return capabilities;
}

void TwinfindPlugin::execComm(Document_Interface* doc, QWidget* parent, QString cmd) {
  if (doc == nullptr) return;
  // Nothing may escape into LibreCAD: what goes wrong is told, and the drawing keeps what the
  // command wrote into it so far.
  try {
    twinfind::librecad::QtCommandLine line(parent);
    twinfind::librecad::RunEntry(*doc, parent, twinfind::librecad::EntryOf(cmd), line);
  } catch (const std::exception& e) {
    QMessageBox::critical(parent, QStringLiteral("Twinfind"), QString::fromUtf8(e.what()));
  }
}
