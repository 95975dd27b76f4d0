// Icons and type names for the file dialogs' lists, worked out from names alone.
#pragma once

#include <QFileIconProvider>

namespace platform::mfc {

// Never opens a listed file: some (/proc/kmsg, a pipe) block whoever reads them, and the dialog's list
// asks for types on the GUI thread.
class FileIconsByName : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace platform::mfc
