// Pictures: Windows bitmaps from files and from the package, and the errors for bad ones.
#include "timage.h"
#include "window_script.h"

#include <QBuffer>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

std::string encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

std::string bitmap(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    return encoded(image, "BMP");
}

class Bitmaps : public WindowScript {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_bitmaps_" + std::to_string(::getpid()));
        fs::create_directories(m_dir / "sub");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string file(const std::string& name, const std::string& bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
    // Runs `call` after making the picture box "pic"; returns the boxes shown.
    std::vector<std::string> withPicture(const std::string& call) {
        return runMain("createForm(\"f\", 0, 0, 300, 200, \"F\");\n"
                       "createImage(\"pic\", 0, 0, 100, 100, \"f\", \"\");\n" +
                       call);
    }
    QSize pictureSize() { return widgetAs<TImage>("pic")->picture().size(); }

    fs::path m_dir;
};

TEST_F(Bitmaps, AFileIsLoadedWhicheverSeparatorThePathUses) {
    file("sub/logo.bmp", bitmap(7, 5));
    const std::string path = (m_dir / "sub").string() + "\\logo.bmp";
    EXPECT_EQ(withPicture("setImage(\"pic\", \"" + path + "\");"), std::vector<std::string>{});
    EXPECT_EQ(pictureSize(), QSize(7, 5));
}

TEST_F(Bitmaps, FilesThatCannotBeReadOrAreNoBitmapsRaiseTheirErrors) {
    const std::string missing = (m_dir / "fehlt.bmp").string();
    const std::string folder = (m_dir / "sub").string();
    const std::string invalid = errorFromMain("setImage", "Bitmap ist ungültig");
    const std::string pipe = (m_dir / "rohr.bmp").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0); // nobody writes into it
    const std::pair<std::string, std::string> cases[] = {
        {missing, errorFromMain("setImage", "Datei " + missing +
                                                " kann nicht geöffnet werden. Das System kann "
                                                "die angegebene Datei nicht finden.")},
        {folder, errorFromMain("setImage", "Datei " + folder +
                                               " kann nicht geöffnet werden. Zugriff verweigert.")},
        {file("bild.png", encoded(QImage(4, 4, QImage::Format_RGB32), "PNG")), invalid},
        {file("leer.bmp", ""), invalid},
        {file("text.bmp", "BM ist kein Bild"), invalid},
        {file("halb.bmp", bitmap(40, 40).substr(0, 200)), invalid},
        {pipe, invalid},
    };
    for (const auto& [path, error] : cases) {
        restart();
        EXPECT_EQ(withPicture("setImage(\"pic\", \"" + path + "\");"),
                  std::vector<std::string>{error});
        EXPECT_TRUE(widgetAs<TImage>("pic")->picture().isNull()) << path;
    }
}

TEST_F(Bitmaps, ARelativePathIsNotFoundWhenTheCurrentFolderIsGone) {
    const fs::path home = fs::current_path();
    fs::current_path(m_dir / "sub");
    fs::remove(m_dir / "sub");
    const auto boxes = withPicture("setImage(\"pic\", \"logo.bmp\");");
    fs::current_path(home);
    EXPECT_EQ(boxes, std::vector<std::string>{errorFromMain(
                         "setImage", "Datei logo.bmp kann nicht geöffnet werden. Das System kann "
                                     "die angegebene Datei nicht finden.")});
}

TEST_F(Bitmaps, ThePackageGivesTheFirstMatchingElement) {
    m_package.files = {{"logo", bitmap(4, 3)}, {"logo", bitmap(9, 9)}, {"kaputt", "QUJD"}};
    EXPECT_EQ(withPicture(R"(
        setPictureFromXML("pic", "logo");
        setPictureFromXML("pic", "fehlt");
        setPictureFromXML("pic", "kaputt");)"),
              std::vector<std::string>{errorFromMain("setPictureFromXML", "Bitmap ist ungültig")});
    EXPECT_EQ(pictureSize(), QSize(4, 3));
}

} // namespace
} // namespace orvane::test
