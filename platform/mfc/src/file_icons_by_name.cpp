// Icons and type names from the file name's extension; folders and drives as Qt names them.
#include "file_icons_by_name.h"

#include <QMimeDatabase>

namespace platform::mfc {
namespace {

QMimeType typeByName(const QFileInfo& info)
{
    return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}

} // namespace

QIcon FileIconsByName::icon(const QFileInfo& info) const
{
    if (!info.isFile())
        return QFileIconProvider::icon(info);
    return QIcon::fromTheme(typeByName(info).iconName(), icon(QAbstractFileIconProvider::File));
}

QString FileIconsByName::type(const QFileInfo& info) const
{
    return info.isFile() ? typeByName(info).comment() : QFileIconProvider::type(info);
}

} // namespace platform::mfc
