#pragma once

#include "project/GroupValues.h"
#include "project/ProjectData.h"
#include "project/ProjectList.h"
#include "project/VersionNumbers.h"

#include <QList>
#include <QString>

// Changing version values without the window: KEY=VALUE assignments to the
// group values or to projects' data, and raising one part of a file version.
// Keys are the settings file's names, so what a pipeline sets is what the
// settings file holds.

// The keys an assignment can name.
enum TEditKey {
    ekProdMajor,
    ekProdMinor,
    ekCompany,
    ekCopyright,
    ekProduct,
    ekAuthor,
    ekFileMajor,
    ekFileMinor,
    ekFileRelease,
    ekFileBuild,
    ekDescription,
    ekStatus,
    ekEnabled,
    ekWin32,
    ekWin64
};

// One checked assignment.
struct TVersionEdit {
    TEditKey Key = ekProdMajor;
    QString Text;      // the value of a text key
    qint32 Number = 0; // the value of a numeric key; 0 or 1 for a switch

    // Whether the key belongs to a project rather than to the group.
    bool IsProjectKey() const { return Key >= ekFileMajor; }
};

// The key's name as the settings file spells it ("pvMajor", "win32", ...).
QString EditKeyName(TEditKey key);

// The keys the settings file holds, in the order it writes them: the group's
// in section "Global", a project's in the project's own section. The switches
// are bits of "Status" and have no key of their own there.
QList<TEditKey> GroupSettingsKeys();
QList<TEditKey> ProjectSettingsKeys();
// Whether the key's value is a number (a switch counts as one) or a text.
bool IsNumberKey(TEditKey key);
// A key's value in the group values or in a project's data, as the
// assignment that would set it.
TVersionEdit GroupKeyValue(const TGroupValues& group, TEditKey key);
TVersionEdit ProjectKeyValue(const TProjectData& data, TEditKey key);

// Parses "KEY=VALUE": the key without regard to case; numbers in decimal from 0
// to 65535, what a version resource holds (Status from 0 to 7); switches true or false; texts as
// given, empty ones included. Returns the empty text on success, else why the assignment cannot be
// used.
QString ParseVersionEdit(const QString& assignment, TVersionEdit& edit);

// Applies a group key; project keys are ignored.
void ApplyGroupEdit(TGroupValues& group, const TVersionEdit& edit);
// Applies a project key; group keys are ignored.
void ApplyProjectEdit(TProjectData& data, const TVersionEdit& edit);
// Applies the project keys to an entry's data and keeps its check mark in step
// with psEnabled. An entry without data gets the data of a project never seen.
void ApplyProjectEdits(TProjectEntry& entry, const QList<TVersionEdit>& edits);

// The entries a name given on the command line stands for: every entry whose
// text, as written or with its XML references decoded, equals it without
// regard to case, "/" and "\" counting as the same delimiter. All of them, because entries of equal
// text share one section of the settings file.
QList<int> FindProjectEntries(const TProjectList& list, const QString& name);

// The parts of a file version, highest first.
enum TVersionPart { vpMajor, vpMinor, vpRelease, vpBuild };

// Raises one part by 1 and sets the lower parts to 0, as a new major or minor
// version starts its releases and builds afresh. Returns false, and leaves the
// data as it was, when the raised part would not fit a version resource
// (above 65535).
bool BumpFileVersion(TProjectData& data, TVersionPart part);
