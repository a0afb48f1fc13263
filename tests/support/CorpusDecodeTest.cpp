#include "support/TextFile.h"

#include "QtPrinters.h"
#include "testsupport/TestFiles.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace
{

// Group and project files written by real Delphi versions must come back byte
// for byte from what the reader reports. Some mix CR LF with LF or keep a
// lone CR inside an element's text, so the per-line breaks are part of it.
TEST(CorpusDecode, GroupAndProjectFilesReencodeToSameBytes)
{
    const QString corpus = TestFiles::CorpusDir();
    if (!QFileInfo(corpus).isDir())
        GTEST_SKIP() << "no corpus at " << corpus.toStdString();
    const QStringList files = TestFiles::FindFiles(corpus, {".groupproj", ".dproj"});
    ASSERT_FALSE(files.isEmpty());
    int groups = 0;
    for (const QString& file : files) {
        SCOPED_TRACE(QDir(corpus).relativeFilePath(file).toStdString());
        const QByteArray bytes = TestFiles::Read(file);
        const TTextContent content = DecodeText(bytes);
        bool lossless = false;
        EXPECT_EQ(EncodeText(content, &lossless), bytes);
        EXPECT_TRUE(lossless);
        EXPECT_FALSE(content.Lines.isEmpty());
        if (file.endsWith(".groupproj", Qt::CaseInsensitive))
            ++groups;
    }
    EXPECT_GT(groups, 0);
}

} // namespace
