#pragma once

#include "resgen/ResourceGenerator.h"

#include <QString>
#include <optional>

// The script options a build used, recorded in the resources folder beside
// its scripts: check and verify then judge the scripts by what was built
// (a build with --escape-values writes other scripts than the
// configuration's default would).
struct TBuildRecord {
    QString TemplateName;
    QString Suffix32;
    QString Suffix64;
    bool EscapeValues = false;
};

// The record's file in a resources folder.
QString BuildRecordFile(const QString& resourceFolder);

// Records the input's options in its resources folder; a record that cannot
// be written is removed, so that no older one stands for this build.
void WriteBuildRecord(const TGenerationInput& input);

// The record in a resources folder; none when there is no readable one.
std::optional<TBuildRecord> ReadBuildRecord(const QString& resourceFolder);
