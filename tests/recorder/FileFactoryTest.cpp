#include "recorder/files/FileFactory.h"

#include <gtest/gtest.h>

#include "core/AppState.h"
#include "audiofile/PcmFormat.h"
#include "sound/WaveFormatBuffer.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

TEST(FileFactoryTest, WaveForEveryNameWithoutAnotherClass) {
    FilesTestFolder folder;
    AppState.Reset();
    CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
    const WAVEFORMATEX pcm = PcmFormat(1, 8000, 16);
    const struct {
        std::string name;
        bool made;
    } cases[] = {
        {folder / "a.wav", true}, {folder / "a.dat", true}, {folder / "a.MP3", true},
        {folder / "a.oga", true}, {folder / "a.Spx", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto file = CreateFileObject(c.name.c_str(), &pcm, MMIO_CREATE | MMIO_READWRITE, 0);
        EXPECT_EQ(file != nullptr, c.made);
        if (file) {
            EXPECT_TRUE(file->IsOpen());
            EXPECT_FALSE(file->IsTemporary());
        }
    }
    auto mp3 = CreateFileObject((folder / "b.mp3").c_str(), nullptr, MMIO_CREATE | MMIO_READWRITE, 0);
    ASSERT_TRUE(mp3 && mp3->IsOpen());
    EXPECT_EQ(mp3->GetFileType(), ftMp3);
    mp3.reset();
    auto temporary = CreateFileObject(nullptr, &pcm, MMIO_CREATE | MMIO_READWRITE, 0);
    ASSERT_TRUE(temporary);
    EXPECT_EQ(temporary->GetPath(), folder / "~rec_1.wav");
    EXPECT_TRUE(temporary->IsTemporary());
    temporary.reset();
    AppState.Reset();
}

}  // namespace
