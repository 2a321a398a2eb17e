#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/xmldocument.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/messagebox.h"
#include "ui/options/categorychooser.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTest>

namespace {

// A tree written as the shipped file is: CP936 under a gb2312 declaration.
QByteArray treeFile(const QString &areas)
{
    return cp936::encode(QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
                                        "<WebAreas Version=\"1\">") +
                         areas + QStringLiteral("</WebAreas>\r\n"));
}

QString area(const QString &title, const char *allowPost, const QString &children = {})
{
    return QStringLiteral("<Area Title=\"%1\" AllowPost=\"%2\">%3</Area>")
        .arg(title, QLatin1String(allowPost), children);
}

// Broad headings that refuse, sites that allow; one allowed first-level category with
// sub-categories of its own.
const QString kTree =
    area(QStringLiteral("个人主页"), "1", area(QStringLiteral("个人日记"), "1")) +
    area(QStringLiteral("电脑网络"), "0",
         area(QStringLiteral("软件"), "0",
              area(QStringLiteral("共享软件"), "1") + area(QStringLiteral("汉化补丁"), "0")) +
             area(QStringLiteral("硬件"), "0", area(QStringLiteral("电脑硬件"), "1"))) +
    area(QStringLiteral("休闲娱乐"), "0", area(QStringLiteral("音乐"), "1"));

QStringList titles(const QListWidget *list)
{
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown << list->item(row)->text();
    return shown;
}

} // namespace

class CategoryChooserTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestAppDir> m_dir;
    TClientServiceInfo m_info;
    std::unique_ptr<TfrmChangeWebArea> m_chooser;

    void writeTree(const QString &areas)
    {
        m_dir->write(QStringLiteral("xml/webAreas.xml"), treeFile(areas));
    }

    void show()
    {
        m_chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chooser.get()));
    }

    QListWidget *list(int level) const
    {
        return m_chooser->findChild<QListWidget *>(QStringLiteral("lstAreaL%1").arg(level));
    }
    QPushButton *button(const char *name) const
    {
        return m_chooser->findChild<QPushButton *>(QLatin1String(name));
    }
    QString shownChoice() const
    {
        return m_chooser->findChild<QLabel *>(QStringLiteral("dispWebArea"))->text();
    }

    // Presses and releases `mouseButton` on the item with that text.
    void choose(int level, const QString &title, Qt::MouseButton mouseButton = Qt::LeftButton)
    {
        const QList<QListWidgetItem *> items = list(level)->findItems(title, Qt::MatchExactly);
        QVERIFY2(!items.isEmpty(), qPrintable(title));
        const QPoint at = list(level)->visualItemRect(items.constLast()).center();
        QTest::mouseClick(list(level)->viewport(), mouseButton, {}, at);
    }

    void expectLists(const QStringList &first, const QStringList &second, const QStringList &third)
    {
        QCOMPARE(titles(list(0)), first);
        QCOMPARE(titles(list(1)), second);
        QCOMPARE(titles(list(2)), third);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<TestAppDir>();
        InitializeClientState(m_info, m_dir->path(), QStringLiteral("/opt/marbello/marbello"));
        m_chooser = std::make_unique<TfrmChangeWebArea>(m_info);
    }

    void cleanup()
    {
        m_chooser.reset();
        m_dir.reset();
    }

    void frameAndFirstShowing()
    {
        writeTree(kTree);
        show();
        QCOMPARE(m_chooser->windowTitle(), QStringLiteral("网站类别"));
        QVERIFY(m_chooser->windowFlags().testFlag(Qt::Tool));
        QCOMPARE(m_chooser->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("系统配置"));
        expectLists(
            {QStringLiteral("个人主页"), QStringLiteral("电脑网络"), QStringLiteral("休闲娱乐")},
            {}, {});
        QCOMPARE(shownChoice(), QStringLiteral(" "));
        QVERIFY(!button("btnOK")->isEnabled());

        // Neither the close picture nor Esc does anything here.
        QTest::mouseClick(m_chooser->findChild<QWidget *>(QStringLiteral("imgFormClose")),
                          Qt::LeftButton, {}, {10, 10});
        QTest::keyClick(m_chooser.get(), Qt::Key_Escape);
        QVERIFY(m_chooser->isVisible());
    }

    void choosingWalksTheTree()
    {
        writeTree(kTree);
        show();
        // An allowed first-level category may be chosen although it has sub-categories.
        choose(0, QStringLiteral("个人主页"));
        QCOMPARE(shownChoice(), QStringLiteral("个人主页"));
        QVERIFY(button("btnOK")->isEnabled());
        expectLists(titles(list(0)), {QStringLiteral("个人日记")}, {});

        // A refusing heading fills the next list and disables OK; an allowed leaf enables it.
        choose(0, QStringLiteral("电脑网络"));
        QVERIFY(!button("btnOK")->isEnabled());
        choose(1, QStringLiteral("软件"));
        expectLists(titles(list(0)), {QStringLiteral("软件"), QStringLiteral("硬件")},
                    {QStringLiteral("共享软件"), QStringLiteral("汉化补丁")});
        choose(2, QStringLiteral("共享软件"));
        QCOMPARE(shownChoice(), QStringLiteral("共享软件"));
        QVERIFY(button("btnOK")->isEnabled());

        // The third list changes only the choice and OK; no list is refilled.
        choose(2, QStringLiteral("汉化补丁"));
        QVERIFY(!button("btnOK")->isEnabled());
        QCOMPARE(titles(list(2)),
                 QStringList({QStringLiteral("共享软件"), QStringLiteral("汉化补丁")}));

        // A new first-level category empties the third list.
        choose(0, QStringLiteral("休闲娱乐"));
        expectLists(titles(list(0)), {QStringLiteral("音乐")}, {});
        QCOMPARE(shownChoice(), QStringLiteral("休闲娱乐"));
    }

    void everyMouseReleaseCountsAndKeysAloneDoNothing()
    {
        writeTree(kTree);
        show();
        // The right button chooses as the left one does.
        choose(0, QStringLiteral("电脑网络"), Qt::RightButton);
        choose(1, QStringLiteral("软件"), Qt::MiddleButton);
        QCOMPARE(titles(list(2)).size(), 2);

        // A release on the item already selected takes it again: the lists below are refilled.
        choose(0, QStringLiteral("电脑网络"));
        expectLists(titles(list(0)), {QStringLiteral("软件"), QStringLiteral("硬件")}, {});
        QCOMPARE(shownChoice(), QStringLiteral("电脑网络"));

        // Moving with the keyboard selects without choosing...
        list(0)->setFocus();
        QTest::keyClick(list(0), Qt::Key_Down);
        QCOMPARE(list(0)->selectedItems().constFirst()->text(), QStringLiteral("休闲娱乐"));
        QCOMPARE(shownChoice(), QStringLiteral("电脑网络"));
        QCOMPARE(titles(list(1)), QStringList({QStringLiteral("软件"), QStringLiteral("硬件")}));
        // ...until the next release over the list.
        choose(0, QStringLiteral("休闲娱乐"));
        QCOMPARE(shownChoice(), QStringLiteral("休闲娱乐"));
        QCOMPARE(titles(list(1)), QStringList({QStringLiteral("音乐")}));
    }

    void sameTitlesFollowTheTieBreaks()
    {
        // Two first-level "新闻": the later one's children are listed. Its second-level "新闻"
        // allows filing, but the first-level one found first refuses. "地方" under "生活" lists
        // the children of the last "地方" anywhere, and the first "地方" found level by level
        // refuses.
        writeTree(area(QStringLiteral("新闻"), "0",
                       area(QStringLiteral("地方"), "0", area(QStringLiteral("甲"), "1"))) +
                  area(QStringLiteral("新闻"), "0",
                       area(QStringLiteral("报刊"), "1") +
                           area(QStringLiteral("新闻"), "1", area(QStringLiteral("丙"), "1"))) +
                  area(QStringLiteral("生活"), "0",
                       area(QStringLiteral("地方"), "1", area(QStringLiteral("乙"), "1"))) +
                  area(QStringLiteral("旅游"), "1",
                       area(QStringLiteral("地方"), "1", area(QStringLiteral("丁"), "1"))));
        show();
        choose(0, QStringLiteral("新闻"));
        QCOMPARE(titles(list(1)), QStringList({QStringLiteral("报刊"), QStringLiteral("新闻")}));
        choose(1, QStringLiteral("新闻"));
        QCOMPARE(titles(list(2)), QStringList({QStringLiteral("丙")}));
        QVERIFY(!button("btnOK")->isEnabled());

        choose(0, QStringLiteral("生活"));
        choose(1, QStringLiteral("地方"));
        QCOMPARE(titles(list(2)), QStringList({QStringLiteral("丁")}));
        QVERIFY(!button("btnOK")->isEnabled());
    }

    void untitledCategoriesAreLeftOut()
    {
        writeTree(
            QStringLiteral("<Area AllowPost=\"1\"><Area Title=\"孤儿\" AllowPost=\"1\"/></Area>"
                           "<Area Title=\"\" AllowPost=\"1\"/>") +
            area(QStringLiteral("论坛"), "yes") + QStringLiteral("<Area Title=\"博客\"/>"));
        show();
        expectLists({QStringLiteral("论坛"), QStringLiteral("博客")}, {}, {});
        // Anything but "1", or nothing at all, refuses.
        choose(0, QStringLiteral("论坛"));
        QVERIFY(!button("btnOK")->isEnabled());
        choose(0, QStringLiteral("博客"));
        QVERIFY(!button("btnOK")->isEnabled());
    }

    void everyShowingReloadsAndKeepsTheChoice()
    {
        writeTree(kTree);
        show();
        choose(0, QStringLiteral("电脑网络"));
        choose(1, QStringLiteral("硬件"));
        choose(2, QStringLiteral("电脑硬件"));
        m_chooser->hide();

        writeTree(area(QStringLiteral("新闻媒体"), "0") + area(QStringLiteral("电脑网络"), "0"));
        show();
        expectLists({QStringLiteral("新闻媒体"), QStringLiteral("电脑网络")}, {}, {});
        QCOMPARE(shownChoice(), QStringLiteral("电脑硬件"));
        QVERIFY(button("btnOK")->isEnabled());
        QCOMPARE(m_chooser->chosenTitle(), QStringLiteral("电脑硬件"));
    }

    void damagedFileIsReportedAtEveryShowing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x01\xff not xml");
        QTest::newRow("cut short") << treeFile(kTree).left(120);
    }

    void damagedFileIsReportedAtEveryShowing()
    {
        QFETCH(QByteArray, content);
        ArmedMessageBoxes boxes;
        writeTree(kTree);
        show();
        choose(0, QStringLiteral("个人主页"));
        m_chooser->hide();

        QFile::remove(m_dir->file(QStringLiteral("xml/webAreas.xml")));
        if (!content.isEmpty())
            m_dir->write(QStringLiteral("xml/webAreas.xml"), content);
        const QString message = QStringLiteral("错误|xml\\webAreas.xml已损坏，请到KBZ主页下载");
        for (int showing = 0; showing < 2; ++showing) {
            boxes.answer({0});
            show();
            QCOMPARE(boxes.shown(), QStringList({message}));
            // Everything stays as the good showing left it.
            QCOMPARE(titles(list(1)), QStringList({QStringLiteral("个人日记")}));
            QCOMPARE(shownChoice(), QStringLiteral("个人主页"));
            QVERIFY(button("btnOK")->isEnabled());
            m_chooser->hide();
        }
    }

    void okAndCancelEndTheChooser()
    {
        writeTree(kTree);
        RunInModal([this] {
            choose(0, QStringLiteral("休闲娱乐"));
            choose(1, QStringLiteral("音乐"));
            QTest::mouseClick(button("btnOK"), Qt::LeftButton);
        });
        QCOMPARE(m_chooser->exec(), int(QDialog::Accepted));
        QCOMPARE(m_chooser->chosenTitle(), QStringLiteral("音乐"));

        RunInModal([this] {
            choose(0, QStringLiteral("个人主页"));
            QTest::mouseClick(button("btnCancel"), Qt::LeftButton);
        });
        QCOMPARE(m_chooser->exec(), int(QDialog::Rejected));
        RunInModal([this] { m_chooser->close(); });
        QCOMPARE(m_chooser->exec(), int(QDialog::Rejected));
    }

    // The tree shipped beside the client.
    void shippedTreeIsSound()
    {
        QFile file(QStringLiteral(MARBELLO_DATA_DIR "/xml/webAreas.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"gb2312\"?>"));
        // Valid CP936 throughout: it decodes and encodes back to the same bytes.
        QCOMPARE(cp936::encode(cp936::decode(bytes)), bytes);
        const std::optional<XmlDocument> document = XmlDocument::fromBytes(bytes);
        QVERIFY(document);
        bool versionIsNumber = false;
        document->root()
            .attribute(QStringLiteral("Version"))
            .value_or(QString())
            .toUInt(&versionIsNumber);
        QVERIFY(versionIsNumber);

        QSet<QString> seen;
        int counts[3] = {};
        std::function<void(const XmlElement &, int)> check = [&](const XmlElement &parent,
                                                                 int level) {
            for (XmlElement element = parent.child(0); !element.isNull();
                 element = element.nextSibling()) {
                QVERIFY2(level < 3, "deeper than three levels");
                const QString title =
                    element.attribute(QStringLiteral("Title")).value_or(QString());
                const QString allow =
                    element.attribute(QStringLiteral("AllowPost")).value_or(QString());
                QVERIFY2(!title.isEmpty(), "a category without a title");
                QVERIFY2(allow == QStringLiteral("0") || allow == QStringLiteral("1"),
                         qPrintable(title));
                // The client keeps the category in 20 bytes.
                QVERIFY2(cp936::byteLength(title) <= 20, qPrintable(title));
                QVERIFY2(!seen.contains(title), qPrintable(title));
                seen.insert(title);
                ++counts[level];
                // A leaf is where sites are filed.
                if (element.childCount() == 0)
                    QVERIFY2(allow == QStringLiteral("1"), qPrintable(title));
                check(element, level + 1);
            }
        };
        check(document->root(), 0);
        QVERIFY(counts[0] >= 12);
        QVERIFY(counts[2] > 0);
        QVERIFY(seen.size() >= 80);
    }
};

QTEST_MAIN(CategoryChooserTest)
#include "categorychooser_test.moc"
