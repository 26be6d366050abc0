#pragma once

#include <QString>

// Media file names read from a theme record are untrusted: they are only ever
// used as a plain name inside the theme's "res" folder.
namespace ThemeMedia {

// True for a non-empty name without a path separator that is not "." or ".."
// and contains no "..".
bool isPlainName(const QString& name);

// themeFolder + "/res/" + name, or an empty string (logged) for a name that is not plain.
QString resourcePath(const QString& themeFolder, const QString& name);

// Copies the media file at sourcePath into resourceFolder under its own file
// name, replacing an older file of that name, unless it already lies there.
// Returns the stored file name, or an empty string when nothing could be
// stored; a file outside resourceFolder is never written or removed.
QString storeInResources(const QString& sourcePath, const QString& resourceFolder);

} // namespace ThemeMedia
