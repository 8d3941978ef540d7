#pragma once
// The grid files open in the studio. Each file becomes a grid of the world with one data item, read
// by the same GDAL reader as the command-line tool; any item of such a grid (the one read, or a
// filter result) can be written back in that file's layout, CRS and nodata.

#include "grid_files.h"

#include <QHash>
#include <QObject>
#include <QPointer>

namespace Tavorin {
class IBaseData;
class IBaseDataFloat;
class IMesh;
class IWorld;
} // namespace Tavorin

namespace spectrafil {

class OpenGrids : public QObject {
    Q_OBJECT
public:
    explicit OpenGrids(Tavorin::IWorld* world, QObject* parent = nullptr);

    // Reads a grid file into a new grid of the world and returns its data item; null with a message
    // when the file cannot be used (nothing is added then). A grid named like an open one gets a
    // number, so that names, by which the filter dialog finds grids, stay unique.
    Tavorin::IBaseDataFloat* open(const QString& path, QString& error);

    // Writes an item of an opened grid to path (format from the extension), whole or not at all.
    bool save(const Tavorin::IBaseData& data, const QString& path, QString& error) const;

    // The file a grid was read from, or null.
    const GridFileInfo* fileOf(const Tavorin::IMesh* mesh) const;
    // The file's units for the item read from it; empty for any other item.
    QString unitsOf(const Tavorin::IBaseData* data) const;

private:
    struct OpenFile {
        GridFileInfo info;
        QPointer<Tavorin::IBaseData> readItem;
    };
    void giveUniqueName(Tavorin::IMesh* mesh) const;

    Tavorin::IWorld* world_;
    QHash<const QObject*, OpenFile> files_;
};

} // namespace spectrafil
