// Twinfind as a LibreCAD plug-in: three entries in LibreCAD's Plugins menu (the command, the
// survey, the settings), each run on the drawing of LibreCAD's current window.
#ifndef LIBRECAD_TWINFIND_PLUGIN_H
#define LIBRECAD_TWINFIND_PLUGIN_H

#include <qc_plugininterface.h>

#include <QObject>

class TwinfindPlugin : public QObject, QC_PluginInterface {
  Q_OBJECT
  Q_INTERFACES(QC_PluginInterface)
  Q_PLUGIN_METADATA(IID LC_DocumentInterface_iid)

 public:
  QString name() const override;
  PluginCapabilities getCapabilities() const override;
  void execComm(Document_Interface* doc, QWidget* parent, QString cmd) override;
};

#endif  // LIBRECAD_TWINFIND_PLUGIN_H
