#pragma once

#include <QString>

// Replaces the five predefined XML entities (&amp; &lt; &gt; &quot; &apos;) and
// numeric character references (&#NN; &#xHH;) by their characters. Anything
// that is not a well-formed reference stays as written.
QString DecodeXmlReferences(const QString& text);

// The file path a project entry names: the entry, with its references decoded
// and its delimiters made native, joined to the folder of the settings file
// (which lies beside the group file).
QString ProjectFilePath(const QString& settingsFile, const QString& entry);
