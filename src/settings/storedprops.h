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

class QTabWidget;

class WindowSettings;

namespace storedprops {

// "Editor.Font" -> "Editor_Font".
QString valueName(const QString& item);

void addString(WindowSettings& storage, const QString& item, std::function<QString()> get,
               std::function<void(const QString&)> set);
void addBool(WindowSettings& storage, const QString& item, std::function<bool()> get, std::function<void(bool)> set);
void addInteger(WindowSettings& storage, const QString& item, std::function<qint32()> get,
                std::function<void(qint32)> set);
void addEnum(WindowSettings& storage, const QString& item, const QStringList& identifiers, std::function<int()> get,
             std::function<void(int)> set);
void addFont(WindowSettings& storage, const QString& item, std::function<PropertyCodec::StoredFont()> get,
             std::function<void(const PropertyCodec::StoredFont&)> set);
void addStringList(WindowSettings& storage, const QString& item, std::function<QStringList()> get,
                   std::function<void(const QStringList&)> set);
void addCollection(WindowSettings& storage, const QString& item,
                   std::function<QList<PropertyCodec::CollectionItem>()> get,
                   std::function<void(const QList<PropertyCodec::CollectionItem>&)> set);
// An object flattened into "Component_Property<Sub>" values, each already in its stored text;
// empty texts are not written.
void addObject(WindowSettings& storage, const QString& item, std::function<QList<std::pair<QString, QString>>()> get,
               std::function<void(const QList<std::pair<QString, QString>>&)> set);
// The page shown in `pages`, stored as a reference to the page by its object name.
void addActivePage(WindowSettings& storage, const QString& item, QTabWidget* pages);

} // namespace storedprops
