#pragma once

#include "resgen/ResEntry.h"
#include "resgen/VersionResource.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reading of 32-bit resource files (.res) as resource compilers write them:
// an empty leading entry, then one entry per resource. Every length is checked
// against the data; malformed or truncated input throws TQuorvelError.

// The resource type number of VERSIONINFO.
constexpr int ResTypeVersion = 16;

// The resources of a .res file's bytes, in file order, without the empty
// leading entry.
QList<TResEntry> ReadResEntries(const QByteArray& bytes);

// Decodes the data of a VERSIONINFO resource (a VS_VERSIONINFO tree).
TVersionResource DecodeVersionInfo(const QByteArray& data);

// Reads a .res file and decodes its first VERSIONINFO resource. Throws
// TQuorvelError when the file cannot be read, is malformed or has none.
TVersionResource ReadVersionResourceFile(const QString& resFile);
