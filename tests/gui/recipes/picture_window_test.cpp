// Pictures of dishes: the question after a new recipe, the editor's change of a picture, and
// the picture window "visabild" with the files on disk.

#include <sys/stat.h>

#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <string>

#include "gui/recipes/picture_routines.h"
#include "gui/recipes/picture_window.h"
#include "gui/theme/theme.h"
#include "support/gui_fixture.h"
#include "support/gui_helpers.h"

using namespace culvora;
using namespace culvora::gui;
using culvora::testing::child;
using culvora::testing::crlf;
using culvora::testing::GuiFixture;
using culvora::testing::infoShape;
using culvora::testing::messageShape;

namespace {

const QColor kDish(0xC0, 0x3B, 0x2B);
const QString kPictureForm = QStringLiteral("visabild");

// A GIF in one colour, written without compression (Qt writes no GIFs): a clear code before
// every second pixel keeps every code three bits wide.
std::string gif(int width, int height)
{
    std::string out = "GIF89a";
    auto word = [&out](int v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    };
    word(width);
    word(height);
    out += "\x81";  // a table of four colours follows
    out += std::string(2, '\0');
    out += std::string("\xC0\x3B\x2B\xFF\xFF\xFF\x00\x00\x00\x00\x00\x00", 12);
    out += ',';
    word(0);
    word(0);
    word(width);
    word(height);
    out += '\0';
    out += '\x02';  // the smallest code size
    std::string data;
    unsigned bits = 0;
    int count = 0;
    auto code = [&](unsigned c) {
        bits |= c << count;
        count += 3;
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 2 == 0) code(4);  // clear
        code(0);
    }
    code(5);  // end
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out += static_cast<char>(n);
        out += data.substr(at, n);
    }
    out += '\0';
    out += ';';
    return out;
}

struct PictureFixture {
    GuiFixture f;

    PictureFixture()
    {
        f.writeDefaultFiles();
        f.start(true);
        f.main().resize(1000, 760);
        QCoreApplication::processEvents();
    }

    QString file(const std::string& name) const
    {
        return QString::fromStdString(f.dir.file(name).string());
    }
    // Writes a picture in one colour and lists it as the picture of the recipe.
    void picture(const std::string& recipe, const std::string& fileName, QSize size,
                 const char* format)
    {
        if (QByteArray(format) == "gif") {
            f.dir.write(fileName, gif(size.width(), size.height()));
        } else {
            QImage image(size, QImage::Format_RGB32);
            image.fill(kDish);
            QImageWriter writer(file(fileName), format);
            QVERIFY2(writer.write(image),
                     qPrintable(QStringLiteral("%1: %2 (is the image "
                                               "format plugin installed?)")
                                    .arg(QLatin1String(format), writer.errorString())));
        }
        list(recipe, file(fileName));
    }
    void list(const std::string& recipe, const QString& path)
    {
        f.dir.write("bilder.txt",
                    f.dir.read("bilder.txt") + crlf({recipe, path.toLocal8Bit().toStdString()}));
    }
    PictureWindow* window() { return f.windows().find<PictureWindow>(kPictureForm); }
    QLabel* label() { return child<QLabel>(window(), QStringLiteral("picture1")); }
    int frames()
    {
        int n = 0;
        for (QMdiSubWindow* sub : f.windows().area()->subWindowList()) {
            n += sub->widget() && sub->widget()->objectName() == kPictureForm ? 1 : 0;
        }
        return n;
    }
    QStringList messages() const
    {
        QStringList shown;
        for (const Message& m : f.fakes.prompter.messages) shown << messageShape(m);
        return shown;
    }
};

int distance(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// An Exif block whose one tag says the picture is to be turned a quarter to the right.
const std::string kTurnRightExif("\xFF\xE1\x00\x22"
                                 "Exif\0\0"
                                 "II\x2A\0\x08\0\0\0"
                                 "\x01\0"
                                 "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                                 "\0\0\0\0",
                                 36);

const std::string kThreeEntries =
    crlf({"Pie", "/home/cook/pie.jpg", "Cake", "/home/cook/cake.jpg", "Bread", ""});

}  // namespace

class PictureWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theQuestionAfterANewRecipe_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<std::string>("added");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("No") << false << QString() << std::string() << QString();
        QTest::newRow("Yes and a file") << true << QStringLiteral("/home/cook/pi\u00E9.jpg")
                                        << crlf({"Pie", "/home/cook/pi\xE9.jpg"}) << QString();
        // A cancelled dialog still records the recipe, with an empty path: the answer was Yes.
        QTest::newRow("Yes, then the dialog cancelled")
            << true << QString() << crlf({"Pie", ""}) << QString();
        QTest::newRow("Yes and a file name the list cannot hold")
            << true << QStringLiteral("/home/cook/\u043F\u0438\u0440\u043E\u0433.jpg")
            << std::string()
            << QStringLiteral("The character \"\u043F\" (U+043F) cannot be stored: the cookbook "
                              "files hold Western European letters and signs only "
                              "(Windows-1252).");
    }

    void theQuestionAfterANewRecipe()
    {
        QFETCH(bool, yes);
        QFETCH(QString, chosen);
        QFETCH(std::string, added);
        QFETCH(QString, refusal);
        PictureFixture p;
        p.f.dir.write("bilder.txt", crlf({"Cake", "/home/cook/cake.jpg"}));
        p.f.fakes.prompter.answers.push_back(yes ? Answer::Yes : Answer::No);
        if (!chosen.isEmpty()) p.f.fakes.prompter.fileNames.push_back(chosen);

        askForPicture(p.f.app(), "Pie");

        QStringList expected{QStringLiteral("[Picture] Question YesNo default No: Is there a "
                                            "picture on the dish available?")};
        if (!refusal.isEmpty())
            expected << infoShape(QStringLiteral("Error"), refusal, "Exclamation");
        QCOMPARE(p.messages(), expected);
        QCOMPARE(p.f.fakes.prompter.fileDialogTitles,
                 yes ? QStringList{QStringLiteral("V\u00E4lj bild f\u00F6r recept")}
                     : QStringList());
        QCOMPARE(p.f.dir.read("bilder.txt"), crlf({"Cake", "/home/cook/cake.jpg"}) + added);
    }

    void changingAPicture_data()
    {
        QTest::addColumn<std::string>("name");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<std::string>("after");
        QTest::newRow("the first of three")
            << std::string("Pie") << QStringLiteral("/home/cook/new pie.png")
            << crlf({"Pie", "/home/cook/new pie.png", "Cake", "/home/cook/cake.jpg", "Bread", ""});
        QTest::newRow("the first of three, dialog cancelled")
            << std::string("Pie") << QString() << kThreeEntries;
        QTest::newRow("the last, whose path was empty")
            << std::string("Bread") << QStringLiteral("/home/cook/bread.gif")
            << crlf({"Pie", "/home/cook/pie.jpg", "Cake", "/home/cook/cake.jpg", "Bread",
                     "/home/cook/bread.gif"});
        QTest::newRow("no entry yet")
            << std::string("Buns") << QStringLiteral("/home/cook/buns.bmp")
            << kThreeEntries + crlf({"Buns", "/home/cook/buns.bmp"});
        QTest::newRow("no entry yet, dialog cancelled")
            << std::string("Buns") << QString() << kThreeEntries + crlf({"Buns", ""});
    }

    void changingAPicture()
    {
        QFETCH(std::string, name);
        QFETCH(QString, chosen);
        QFETCH(std::string, after);
        PictureFixture p;
        p.f.dir.write("bilder.txt", kThreeEntries);
        if (!chosen.isEmpty()) p.f.fakes.prompter.fileNames.push_back(chosen);
        changePicture(p.f.app(), name);
        QCOMPARE(p.f.fakes.prompter.fileDialogTitles,
                 QStringList{QStringLiteral("V\u00E4lj bild f\u00F6r recept")});
        QCOMPARE(p.messages(), QStringList());
        QCOMPARE(p.f.dir.read("bilder.txt"), after);
    }

    void everyUsualKindOfPictureIsShown_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<std::string>("file");
        QTest::newRow("JPEG") << QByteArray("jpg") << std::string("pie.jpg");
        QTest::newRow("GIF") << QByteArray("gif") << std::string("pie.gif");
        QTest::newRow("BMP") << QByteArray("bmp") << std::string("pie.bmp");
        QTest::newRow("PNG") << QByteArray("png") << std::string("pie.png");
        QTest::newRow("TIFF") << QByteArray("tiff") << std::string("pie.tif");
        QTest::newRow("WebP") << QByteArray("webp") << std::string("pie.webp");
        // A list made by hand may name a file of the data folder without its folder.
        QTest::newRow("PNG named without its folder") << QByteArray("png") << std::string();
    }

    void everyUsualKindOfPictureIsShown()
    {
        QFETCH(QByteArray, format);
        QFETCH(std::string, file);
        PictureFixture p;
        const QSize size(240, 160);
        if (file.empty()) {
            p.picture("Cake", "cake.png", size, format.constData());
            p.f.dir.write("bilder.txt", crlf({"Pie", "cake.png"}));
        } else {
            p.picture("Pie", file, size, format.constData());
        }

        showPicture(p.f.app(), "Pie");

        QCOMPARE(p.messages(), QStringList());
        PictureWindow* window = p.window();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("View picture"));
        QCOMPARE(window->shownSize(), size);
        QCOMPARE(p.label()->size(), size);
        QCOMPARE(window->size(), size + QSize(2 * kPictureMat, 2 * kPictureMat));
        // The picture itself on a grey mat.
        const QImage shown = window->grab().toImage();
        QVERIFY2(distance(shown.pixelColor(window->width() / 2, window->height() / 2), kDish) < 40,
                 qPrintable(shown.pixelColor(window->width() / 2, window->height() / 2).name()));
        QCOMPARE(shown.pixelColor(2, 2), theme::kPictureMat);
        QCOMPARE(p.f.windows().kindOf(p.f.windows().subWindowOf(window)), WindowKind::Dialog);
    }

    void aLargePhotoIsScaledDownToFitTheMainWindow_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("onItsSide");
        QTest::newRow("wide PNG") << QSize(3200, 1400) << QByteArray("png") << false;
        QTest::newRow("tall JPEG") << QSize(1100, 3000) << QByteArray("jpg") << false;
        // A camera held upright stores the photo across and says it is to be turned.
        QTest::newRow("JPEG taken upright") << QSize(3000, 1100) << QByteArray("jpg") << true;
    }

    void aLargePhotoIsScaledDownToFitTheMainWindow()
    {
        QFETCH(QSize, stored);
        QFETCH(QByteArray, format);
        QFETCH(bool, onItsSide);
        const QSize photo = onItsSide ? stored.transposed() : stored;
        PictureFixture p;
        // Stripes one pixel wide: smooth scaling blends them into an even grey, where plain
        // scaling would pick whole black or white pixels.
        QImage image(stored, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        for (int x = 0; x < stored.width(); x += 2) {
            painter.fillRect(x, 0, 1, stored.height(), Qt::black);
        }
        painter.end();
        const QString file = p.file("big." + format.toStdString());
        QVERIFY(QImageWriter(file, format).write(image));
        if (onItsSide) {
            // Qt turns the pixels when it writes; a camera writes the orientation tag instead.
            const std::string name = "big." + format.toStdString();
            std::string jpeg = p.f.dir.read(name);
            jpeg.insert(2, kTurnRightExif);
            p.f.dir.write(name, jpeg);
        }
        p.list("Pie", file);

        showPicture(p.f.app(), "Pie");

        QCOMPARE(p.messages(), QStringList());
        PictureWindow* window = p.window();
        QVERIFY(window);
        QMdiSubWindow* frame = p.f.windows().subWindowOf(window);
        const QRect area(QPoint(0, 0), p.f.windows().area()->viewport()->size());
        QVERIFY2(area.contains(frame->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                                                  .arg(frame->x())
                                                                  .arg(frame->y())
                                                                  .arg(frame->width())
                                                                  .arg(frame->height())
                                                                  .arg(area.width())
                                                                  .arg(area.height())));
        const QSize shown = window->shownSize();
        QVERIFY(shown.width() < photo.width() && shown.height() < photo.height());
        const double ratio = double(photo.width()) / photo.height();
        QVERIFY2(std::abs(double(shown.width()) / shown.height() - ratio) < 0.02 * ratio,
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        // As large as the room allows, not smaller.
        const bool wide = photo.width() > photo.height();
        QVERIFY(wide ? frame->width() >= area.width() - 4 : frame->height() >= area.height() - 4);

        const QImage drawn = p.label()->grab().toImage();
        const QColor middle = drawn.pixelColor(drawn.width() / 2, drawn.height() / 2);
        QVERIFY2(middle.red() > 60 && middle.red() < 200, qPrintable(middle.name()));
    }

    void aPictureThatCannotBeShownOpensNoWindow_data()
    {
        QTest::addColumn<std::string>("list");
        QTest::addColumn<QString>("message");  // "…" stands for Qt's own reason
        QTest::addColumn<int>("beeps");
        QTest::newRow("no entry") << crlf({"Cake", "/home/cook/cake.jpg"})
                                  << QStringLiteral("Sorry, no picture available") << 1;
        // Only name lines count: a path that reads like the name is no entry.
        QTest::newRow("the name only as a path")
            << crlf({"Cake", "Pie"}) << QStringLiteral("Sorry, no picture available") << 1;
        QTest::newRow("an empty path")
            << crlf({"Pie", ""})
            << QStringLiteral("No picture file is recorded for \"Pie\". \"Picture?\" in the recipe "
                              "editor chooses one.")
            << 0;
        QTest::newRow("a file that is gone")
            << crlf({"Pie", "%1/gone.jpg"})
            << QStringLiteral("The picture file \"%1/gone.jpg\" could not be found. It may have "
                              "been moved or deleted; \"Picture?\" in the recipe editor chooses it "
                              "again.")
            << 0;
        QTest::newRow("not a picture")
            << crlf({"Pie", "%1/notes.jpg"})
            << QStringLiteral("The picture file \"%1/notes.jpg\" could not be shown (\u2026). It "
                              "may be damaged, or of a kind this program cannot read.")
            << 0;
        // bilder.txt may name anything: a FIFO is refused at once instead of holding the window
        // until someone writes to it.
        QTest::newRow("a FIFO")
            << crlf({"Pie", "%1/fifo.jpg"})
            << QStringLiteral("The picture file \"%1/fifo.jpg\" could not be shown. Could not "
                              "read \"fifo.jpg\": it is not an ordinary file (a device, a pipe "
                              "or a socket).")
            << 0;
        QTest::newRow("a folder")
            << crlf({"Pie", "%1"})
            << QStringLiteral("The picture file \"%1\" could not be shown (it is a folder). It "
                              "may be damaged, or of a kind this program cannot read.")
            << 0;
    }

    void aPictureThatCannotBeShownOpensNoWindow()
    {
        QFETCH(std::string, list);
        QFETCH(QString, message);
        QFETCH(int, beeps);
        PictureFixture p;
        const QString folder = QString::fromStdString(p.f.dir.path().string());
        p.f.dir.write("notes.jpg", "Apple pie: ask Grandma for the picture.\r\n");
        QCOMPARE(::mkfifo(p.f.dir.file("fifo.jpg").c_str(), 0600), 0);
        // A picture of another recipe is on show first; it is not the one asked for.
        p.picture("Cake", "cake.png", QSize(50, 40), "png");
        showPicture(p.f.app(), "Cake");
        QVERIFY(p.window());
        p.f.dir.write(
            "bilder.txt",
            QString::fromStdString(list).replace(QStringLiteral("%1"), folder).toStdString());

        showPicture(p.f.app(), "Pie");

        QCOMPARE(p.f.fakes.prompter.messages.size(), 1);
        const Message& m = p.f.fakes.prompter.last();
        QCOMPARE(m.title, QStringLiteral("Error"));
        const QStringList parts =
            QString(message).replace(QStringLiteral("%1"), folder).split(QChar(0x2026));
        QVERIFY2(m.text.startsWith(parts.front()) && m.text.endsWith(parts.back()) &&
                     (parts.size() > 1 || m.text == parts.front()),
                 qPrintable(m.text));
        QCOMPARE(p.f.fakes.prompter.beeps, beeps);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!p.window());
        QCOMPARE(p.frames(), 0);
    }

    void anotherPictureReusesTheWindow()
    {
        PictureFixture p;
        p.picture("Pie", "pie.png", QSize(300, 200), "png");
        p.picture("Cake", "cake.jpg", QSize(200, 260), "jpg");
        showPicture(p.f.app(), "Pie");
        QPointer<PictureWindow> window = p.window();
        QVERIFY(window);
        QCOMPARE(window->shownSize(), QSize(300, 200));
        QMdiSubWindow* frame = p.f.windows().subWindowOf(window);
        frame->showMinimized();

        showPicture(p.f.app(), "Cake");
        QCOMPARE(p.window(), window.data());
        QCOMPARE(p.frames(), 1);
        QVERIFY(!frame->isMinimized());
        QCOMPARE(window->shownSize(), QSize(200, 260));
        QCOMPARE(window->size(), QSize(200, 260) + QSize(2 * kPictureMat, 2 * kPictureMat));
        QVERIFY(frame->height() > window->height());

        // A picture is looked at, then put away with Escape.
        QTest::keyClick(window, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!p.window());
        QCOMPARE(p.messages(), QStringList());
    }
};

QTEST_MAIN(PictureWindowTest)
#include "picture_window_test.moc"
