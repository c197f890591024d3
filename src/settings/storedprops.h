#pragma once
// Stored properties: a window lists "Component.Property" items, each with a getter and a setter
// on the Qt side, and these helpers write and read them in the stored formats under the names
// the store uses ("Component_Property" in the window's section; string lists and collections in a
// list key "<section>.Component_Property"). Reading uses the current value as the default, so a
// missing value leaves the property as it is.

#include "settings/propertycodec.h"

#include <QString>
#include <QStringList>
#include <functional>

class TFormPlacement;

namespace storedprops {

// "Editor.Font" -> "Editor_Font".
QString valueName(const QString& item);

void addString(TFormPlacement& storage, const QString& item, std::function<QString()> get,
               std::function<void(const QString&)> set);
void addBool(TFormPlacement& storage, const QString& item, std::function<bool()> get, std::function<void(bool)> set);
void addInteger(TFormPlacement& storage, const QString& item, std::function<qint32()> get,
                std::function<void(qint32)> set);
void addEnum(TFormPlacement& storage, const QString& item, const QStringList& identifiers, std::function<int()> get,
             std::function<void(int)> set);
void addFont(TFormPlacement& storage, const QString& item, std::function<PropertyCodec::StoredFont()> get,
             std::function<void(const PropertyCodec::StoredFont&)> set);
void addStringList(TFormPlacement& storage, const QString& item, std::function<QStringList()> get,
                   std::function<void(const QStringList&)> set);
void addCollection(TFormPlacement& storage, const QString& item,
                   std::function<QList<PropertyCodec::CollectionItem>()> get,
                   std::function<void(const QList<PropertyCodec::CollectionItem>&)> set);
// An object flattened into "Component_Property<Sub>" values, each already in its stored text;
// empty texts are not written.
void addObject(TFormPlacement& storage, const QString& item, std::function<QList<std::pair<QString, QString>>()> get,
               std::function<void(const QList<std::pair<QString, QString>>&)> set);

} // namespace storedprops
