// Load, Reload, Save, the recent files, drops and the read-me of the main window.
#include "fileformats/fileloader.h"
#include "fileformats/textfile.h"
#include "main_fixture.h"
#include "ui/fuseform.h"

#include <QFileDialog>
#include <QUrl>

namespace isp::testing {
namespace {

class FileCommandsTest : public MainWindowTest {
protected:
    void Open(const std::string& part, int family) {
        StoreEnvironment(part, family);
        Start(part);
    }
    std::string Path(const std::string& name) const {
        return folder.path().toStdString() + "/" + name;
    }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    // An image of the current device's size with a pattern in its first length bytes.
    THexList Pattern(int length) {
        THexList image;
        image.SetSize(Buffer().Size());
        for (int i = 0; i < length; ++i) {
            image.SetValue(static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(i * 5 + 1));
        }
        return image;
    }
    bool AllFailed() {
        for (int a = 0; a < Buffer().Size(); ++a) {
            if (!Buffer().GetStatus(static_cast<std::uint32_t>(a)).Has(ps_failed)) {
                return false;
            }
        }
        return true;
    }
    std::string Title() { return window->windowTitle().toStdString(); }
};

TEST_F(FileCommandsTest, LoadOfEachKindOfFile) {
    Open("24C02", 0);
    const THexList image = Pattern(200);
    ASSERT_EQ(TFileLoader::Save(Path("a.hex"), image, ffIntel8), 0);
    window->LoadFlashFile(Path("a.hex"));
    EXPECT_EQ(LastLine(),
              "File Load: File loaded (" + TFileLoader::FormatName(ffIntel8) + ") - 00:00");
    EXPECT_EQ(Buffer().GetValue(199), image.GetValue(199));
    EXPECT_EQ(Buffer().FileName, Path("a.hex"));
    EXPECT_EQ(Title(), "Serial EEPROM ISP - EEPROM: " + window->ShortenPath(Path("a.hex")));
    window->Tabs->setCurrentWidget(window->StatusSheet);
    window->Tabs->setCurrentWidget(window->FlashTab);
    EXPECT_EQ(Title(), "Serial EEPROM ISP - EEPROM: " + Path("a.hex"))
        << "in full on showing the page";

    // Not a text format: binary, byte for byte.
    Write("b.dat", std::string("\x01\x02\x00\xFE", 4));
    window->LoadFlashFile(Path("b.dat"));
    EXPECT_EQ(LastLine(), "File Load: File loaded (as a Binary file) - 00:00");
    EXPECT_EQ(Buffer().GetValue(3), 0xFE);
    EXPECT_EQ(Buffer().GetValue(4), 0xFF);

    // Hex digits only: two digits per byte.
    Write("c.txt", "0102A0ff");
    window->LoadFlashFile(Path("c.txt"));
    EXPECT_EQ(Buffer().GetValue(2), 0xA0);
    EXPECT_EQ(Buffer().GetValue(3), 0xFF);

    // Empty: a binary file of no bytes, which leaves a blank buffer.
    Write("empty.bin", "");
    window->LoadFlashFile(Path("empty.bin"));
    EXPECT_EQ(LastLine(), "File Load: File loaded (as a Binary file) - 00:00");
    EXPECT_EQ(Buffer().GetValue(0), 0xFF);
    EXPECT_EQ(Buffer().FileName, Path("empty.bin"));
}

TEST_F(FileCommandsTest, LoadFailures) {
    Open("24C02", 0);
    // Records past the end of the device: the data before them, everything failed, title set.
    Write("long.hex", ":0400FE0011223344FA\n:00000001FF\n");
    window->LoadFlashFile(Path("long.hex"));
    EXPECT_EQ(LastLine(), "File Load - Warning: File larger than device");
    EXPECT_EQ(window->Log().StatusText().substr(0, 2), "2|");
    EXPECT_EQ(Buffer().GetValue(0xFF), 0x22);
    EXPECT_TRUE(AllFailed());
    EXPECT_EQ(Title(), "Serial EEPROM ISP - EEPROM: " + window->ShortenPath(Path("long.hex")));

    // A binary file one byte too long: values and title unchanged, everything failed.
    Write("fits.bin", std::string(256, '\x11'));
    window->LoadFlashFile(Path("fits.bin"));
    const std::string title = Title();
    Write("toolong.bin", std::string(257, '\x80'));
    window->LoadFlashFile(Path("toolong.bin"));
    EXPECT_EQ(LastLine(), "File Load - Warning: file larger than device");
    EXPECT_EQ(Buffer().GetValue(0x80), 0x11);
    EXPECT_EQ(Buffer().FileName, Path("fits.bin"));
    EXPECT_TRUE(AllFailed());
    EXPECT_EQ(Title(), title);

    // A missing file or a folder: nothing changes.
    const auto lines = Lines().size();
    window->LoadFlashFile(Path("missing.hex"));
    window->LoadFlashFile(folder.path().toStdString());
    EXPECT_EQ(Lines().size(), lines + 2);
    EXPECT_EQ(LastLine(), "EEPROM File Load: File load failed");
    EXPECT_EQ(Buffer().GetValue(0x80), 0x11);
}

TEST_F(FileCommandsTest, SaveFormatFollowsTheExtension) {
    struct Case {
        const char* part;
        int family;
        const char* file;
        int format;
    };
    const Case cases[] = {
        {"24C512", 0, "a.hex", ffIntel8},          {"24C1024", 0, "b.hex", ffIntelHex32},
        {"24C02", 0, "c.HEX", ffIntelHex32},       {"24C02", 0, "d.s90", ffMotorolaS3},
        {"24C02", 0, "e.bst", ffAtmelBst},         {"24C02", 0, "f.bin", ffBinary},
        {"24C02", 0, "noextension", ffIntelHex32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (!window || window->Project()->Device()->Name != c.part) {
            window.reset();
            Open(c.part, c.family);
        }
        const THexList image = Pattern(64);
        std::copy(image.Data(), image.Data() + image.Size(), Buffer().Data());
        Buffer().FileName = "/loaded/before.hex";
        window->SaveFlashFile(Path(c.file));
        EXPECT_EQ(LastLine(),
                  "EEPROM: File Saved (" + window->ShortenPath(Path(c.file)) + ") - 00:00");
        const std::string written = ReadWholeFile(Path(c.file));
        if (c.format == ffBinary) {
            EXPECT_EQ(written,
                      std::string(reinterpret_cast<const char*>(image.Data()), image.Size()));
            EXPECT_EQ(Buffer().FileName, Path(c.file)) << "Reload now reads the saved file";
        } else {
            EXPECT_EQ(written, TFileLoader::FormatText(image, c.format));
            EXPECT_EQ(Buffer().FileName, "/loaded/before.hex");
        }
        EXPECT_EQ(window->LoadDialogFileName(), Path(c.file));
    }
}

TEST_F(FileCommandsTest, LsbFirstImagesAreMirroredOnDiskOnly) {
    Open("AT17LV512(A)", 3);
    ASSERT_TRUE(window->LsbFirst()) << "AT6K/Other is the family's default";
    Buffer().SetValue(0, 0x01);
    Buffer().SetValue(1, 0x0F);
    window->SaveFlashFile(Path("fpga.hex"));
    EXPECT_EQ(Buffer().GetValue(0), 0x01) << "the buffer is as it was";
    THexList disk;
    disk.SetSize(Buffer().Size());
    ASSERT_EQ(TFileLoader::LoadText(Path("fpga.hex"), disk), 0);
    EXPECT_EQ(disk.GetValue(0), 0x80);
    EXPECT_EQ(disk.GetValue(1), 0xF0);

    Buffer().Clear();
    window->LoadFlashFile(Path("fpga.hex"));
    EXPECT_EQ(Buffer().GetValue(0), 0x01);
    EXPECT_EQ(Buffer().GetValue(1), 0x0F);
    Buffer().SetValue(0, 0x55);
    window->ReloadFlashExecute();
    EXPECT_EQ(Buffer().GetValue(0), 0x01) << "Reload gives the bytes Load gives";
    EXPECT_EQ(LastLine().rfind("EEPROM: File Reloaded - ", 0), 0u);

    // The other bit order: the family change reloads the file unmirrored.
    window->OptionsFrame()->FpgaFamily->SetItemIndex(0);
    EXPECT_EQ(Buffer().GetValue(0), 0x80);
    EXPECT_EQ(window->FileDialogFilter(),
              "Atmel BST (*.bst)|*.bst|Auto-detect (*.*)|*.*|Hex (*.hex)|*.hex");
    window->OptionsFrame()->FpgaFamily->SetItemIndex(1);
    EXPECT_EQ(window->FileDialogFilter(),
              "Xylinx Files (*.mcs,*.hex)|*.mcs;*.hex|Atmel BST (*.bst)|*.bst");
}

TEST_F(FileCommandsTest, SaveFailureIsReportedAndTheOldFileKept) {
    Open("24C02", 0);
    Write("afile", "x");
    window->SaveFlashFile(Path("afile/image.hex")); // its folder is a file
    EXPECT_EQ(LastLine().rfind("EEPROM: File not saved (", 0), 0u) << LastLine();
    EXPECT_EQ(window->Log().StatusText().substr(0, 2), "2|");
    EXPECT_TRUE(window->LoadDialogFileName().empty());
    EXPECT_EQ(ReadWholeFile(Path("afile")), "x");

    answerDialog = [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select file for Intel Hex file Save");
        return int(QDialog::Rejected);
    };
    window->SaveFlash->trigger();
    EXPECT_EQ(LastLine(), "EEPROM: Save Cancelled - 00:00");
}

TEST_F(FileCommandsTest, ReloadClearsEditsAndReportsFailures) {
    Open("24C02", 0);
    window->UpdateActions();
    EXPECT_FALSE(window->ReloadFlash->isEnabled()) << "no file yet";
    const auto before = Lines().size();
    window->ReloadFlashExecute();
    EXPECT_EQ(Lines().size(), before) << "nothing to reload: no line";

    ASSERT_EQ(TFileLoader::Save(Path("r.hex"), Pattern(16), ffIntel8), 0);
    window->LoadFlashFile(Path("r.hex"));
    window->UpdateActions();
    EXPECT_TRUE(window->ReloadFlash->isEnabled());
    Buffer().SetValue(3, 0x00);
    Buffer().SetValue(100, 0x00);
    window->ReloadFlash->trigger();
    EXPECT_EQ(Buffer().GetValue(3), 16);
    EXPECT_EQ(Buffer().GetValue(100), 0xFF);
    EXPECT_EQ(LastLine().rfind("EEPROM: File Reloaded - ", 0), 0u);

    // The file now runs past the device: reported as Load reports it.
    Write("r.hex", ":0400FE0011223344FA\n:00000001FF\n");
    window->ReloadFlashExecute();
    EXPECT_EQ(LastLine(), "File Load - Warning: File larger than device");
    EXPECT_TRUE(AllFailed());

    // Deleted since: reported, the buffer left alone.
    std::filesystem::remove(Path("r.hex"));
    window->ReloadFlashExecute();
    EXPECT_EQ(LastLine(), "EEPROM File Load: File load failed");
    EXPECT_EQ(Buffer().GetValue(0xFF), 0x22);
    EXPECT_FALSE(window->Busy());
}

TEST_F(FileCommandsTest, RecentFilesDropsAndTheDialog) {
    Open("24C02", 0);
    for (const char* name : {"1.bin", "2.bin", "3.bin", "4.bin", "5.bin"}) {
        Write(name, name);
        window->LoadFlashFile(Path(name));
    }
    EXPECT_EQ(
        window->RecentFiles().Items(),
        (std::vector<std::string>{Path("5.bin"), Path("4.bin"), Path("3.bin"), Path("2.bin")}));
    // Choosing an entry loads it.
    QAction* third = nullptr;
    for (QAction* action : window->LoadMenu->actions()) {
        if (action->text().startsWith("&3 ")) {
            third = action;
        }
    }
    ASSERT_NE(third, nullptr);
    third->trigger();
    EXPECT_EQ(Buffer().GetValue(0), '3');
    EXPECT_EQ(window->RecentFiles().Items().front(), Path("3.bin"));

    // A dropped file loads like Load.
    Write("dropped.bin", "Q");
    EXPECT_TRUE(window->acceptDrops());
    EXPECT_TRUE(
        window->LoadDroppedFiles({QUrl::fromLocalFile(QString::fromStdString(Path("dropped.bin"))),
                                  QUrl::fromLocalFile("/elsewhere/second.bin")}));
    EXPECT_EQ(Buffer().GetValue(0), 'Q');

    // The Load dialog opens in the samples folder with the family's filter.
    Write("dialog.bin", "G");
    answerDialog = [this](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        EXPECT_EQ(files.windowTitle(), "Load EEPROM");
        EXPECT_EQ(files.directory().absolutePath(), folder.path() + "/install/samples");
        EXPECT_EQ(files.nameFilters().front(), "Auto-detect (*)");
        files.selectFile(QString::fromStdString(Path("dialog.bin")));
        return int(QDialog::Accepted);
    };
    std::filesystem::create_directories(Path("install/samples"));
    window->LoadFlash->trigger();
    EXPECT_EQ(Buffer().GetValue(0), 'G');

    // The list outlives the run.
    ASSERT_TRUE(window->close());
    window.reset();
    Start("24C02");
    EXPECT_EQ(window->RecentFiles().Items().front(), Path("dialog.bin"));
}

TEST_F(FileCommandsTest, ReadMeReplacesTheStatusList) {
    Open("24C02", 0);
    window->UpdateActions();
    EXPECT_FALSE(window->ViewReadMe->isEnabled());
    std::filesystem::create_directories(Path("install"));
    Write("install/readme.txt", "First line\r\nSecond line\r\n");
    window->UpdateActions();
    ASSERT_TRUE(window->ViewReadMe->isEnabled());
    window->ViewReadMe->trigger();
    ASSERT_EQ(Lines().size(), 3u);
    EXPECT_EQ(Lines()[0], "First line");
    EXPECT_EQ(Lines()[1], "Second line");
    EXPECT_EQ(Lines()[2].rfind("README: File Loaded Successfully - ", 0), 0u);
    EXPECT_EQ(window->Tabs->currentWidget(), window->StatusSheet);
}

TEST_F(FileCommandsTest, FileCommandsWaitForARunningOperation) {
    Open("24C02", 0);
    Write("x.bin", "X");
    QTimer::singleShot(0, window.get(), [&] {
        window->LoadFlashFile(Path("x.bin"));
        window->SaveFlashFile(Path("y.bin"));
    });
    window->ReadFlash->trigger();
    EXPECT_NE(Buffer().GetValue(0), 'X');
    EXPECT_FALSE(std::filesystem::exists(Path("y.bin")));
}

} // namespace
} // namespace isp::testing
