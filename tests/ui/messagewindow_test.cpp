#include "core/clientserviceinfo.h"
#include "core/cp936.h"
#include "core/messagestore.h"
#include "tests/support/testfiles.h"
#include "tests/ui/uitestsupport.h"
#include "ui/messagebox.h"
#include "ui/messages/messagewindow.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <unistd.h>

namespace {

const QString kStore = QStringLiteral("xml/messages.xml");

// The store as the client writes it: CP936 under a gb2312 declaration, newest first.
QByteArray storeFile(const QString &messages)
{
    return cp936::encode(
        QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Messages>\n") + messages +
        QStringLiteral("</Messages>\n"));
}

const QString kTwoMessages =
    QStringLiteral("<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.2\" "
                   "PostDateTime=\"2006-12-7 9:00:05\" Comment=\"服务器今晚维护，请提前保存\"/>\n"
                   "<Message Logid=\"ruruv\" FromLogid=\"admin\" FromIP=\"10.0.0.1\" "
                   "PostDateTime=\"2006-12-6 23:28:12\" Comment=\"欢迎使用\"/>\n");

} // namespace

class MessageWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestAppDir> m_dir;
    TClientServiceInfo m_info;
    std::unique_ptr<TfrmMessageShow> m_window;

    void show()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // The names of the stores set aside, by name (and so by time).
    QStringList brokenStores() const
    {
        return QDir(m_dir->file(QStringLiteral("xml")))
            .entryList({QStringLiteral("messages.xml.broken-*")}, QDir::Files, QDir::Name);
    }

    QTableView *grid() const
    {
        return m_window->findChild<QTableView *>(QStringLiteral("grdMessage"));
    }

    QStringList row(int index) const
    {
        QStringList cells;
        for (int column = 0; column < 3; ++column)
            cells << grid()->model()->index(index, column).data().toString();
        return cells;
    }

    // Opens the grid's pop-up menu as a right click does and runs `inMenu` while it is open.
    void popUp(const std::function<void(QMenu *, QAction *)> &inMenu)
    {
        bool ran = false;
        RunInModal([&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->objectName(), QStringLiteral("pmnuMessage"));
            auto *eraseAll = menu->findChild<QAction *>(QStringLiteral("pmnuMessageEraseAll"));
            QCOMPARE(eraseAll->text(), QStringLiteral("清除全部(&E)"));
            inMenu(menu, eraseAll);
            ran = true;
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, {20, 30},
                                grid()->viewport()->mapToGlobal(QPoint(20, 30)));
        QApplication::sendEvent(grid()->viewport(), &event);
        QVERIFY(ran);
    }

    // The menu's erase item, as chosen by its letter.
    void eraseAll()
    {
        popUp([](QMenu *menu, QAction *) { QTest::keyClick(menu, Qt::Key_E); });
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<TestAppDir>();
        InitializeClientState(m_info, m_dir->path(), QStringLiteral("/opt/marbello/marbello"));
        QDir(m_dir->path()).mkpath(QStringLiteral("xml"));
        m_window = std::make_unique<TfrmMessageShow>(m_info);
    }

    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
    }

    void gridListsTheStoreNewestFirst()
    {
        m_dir->write(kStore,
                     storeFile(kTwoMessages + QStringLiteral("<Message Comment=\"无地址\"/>")));
        show();
        QCOMPARE(grid()->model()->rowCount(), 3);
        QCOMPARE(row(0),
                 QStringList({QStringLiteral("2006-12-7 9:00:05"), QStringLiteral("10.0.0.2"),
                              QStringLiteral("服务器今晚维护，请提前保存")}));
        QCOMPARE(row(1)[2], QStringLiteral("欢迎使用"));
        // What the service left out shows as an empty cell.
        QCOMPARE(row(2), QStringList({QString(), QString(), QStringLiteral("无地址")}));

        QHeaderView *titles = grid()->horizontalHeader();
        QCOMPARE(titles->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("时间"));
        QCOMPARE(titles->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("来自IP"));
        QCOMPARE(titles->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("内容"));
        QCOMPARE(
            QList<int>({titles->sectionSize(0), titles->sectionSize(1), titles->sectionSize(2)}),
            QList<int>({115, 97, 206}));
        QCOMPARE(titles->sectionResizeMode(0), QHeaderView::Interactive);
        QCOMPARE(grid()->rowHeight(1), 18);
        QVERIFY(!grid()->verticalHeader()->isVisible());
        QVERIFY(!(grid()->model()->flags(grid()->model()->index(0, 0)) & Qt::ItemIsEditable));

        // A drag selects whole rows as one range.
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(grid()->model()->index(0, 2)).center());
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          grid()->visualRect(grid()->model()->index(2, 0)).center());
        QCOMPARE(grid()->selectionModel()->selectedRows().size(), 3);
        // Neither a key nor a double click opens an editor.
        QTest::keyClick(grid(), Qt::Key_F2);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {},
                           grid()->visualRect(grid()->model()->index(0, 2)).center());
        QVERIFY(!grid()->findChild<QLineEdit *>());
    }

    void escapedTextsShowAsWritten()
    {
        m_dir->write(kStore, storeFile(QStringLiteral(
                                 "<Message Comment=\"a &amp; b &lt;c&gt; &#38; &quot;引&quot; "
                                 "&#x4E2D; &amp;#38; &apos;\" FromIP=\"\"/>")));
        show();
        QCOMPARE(row(0), QStringList({QString(), QString(),
                                      QStringLiteral("a & b <c> & \"引\" 中 &#38; '")}));
    }

    void everyShowingRereadsTheStore()
    {
        show();
        QCOMPARE(grid()->model()->rowCount(), 0);
        m_window->close();
        m_dir->write(kStore, storeFile(kTwoMessages));
        show();
        QCOMPARE(grid()->model()->rowCount(), 2);
        m_window->close();
        QFile::remove(m_dir->file(kStore));
        show();
        QCOMPARE(grid()->model()->rowCount(), 0);
    }

    void eraseItemNeedsAMessage_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("no messages") << storeFile({}) << false;
        QTest::newRow("one message")
            << storeFile(QStringLiteral("<Message Comment=\"你好\"/>")) << true;
    }

    void eraseItemNeedsAMessage()
    {
        QFETCH(QByteArray, store);
        QFETCH(bool, enabled);
        if (!store.isEmpty())
            m_dir->write(kStore, store);
        show();
        popUp([&](QMenu *menu, QAction *eraseAll) {
            QCOMPARE(eraseAll->isEnabled(), enabled);
            menu->close();
        });
    }

    void erasingAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("erased");
        QTest::newRow("no") << int(IDNO) << false;
        QTest::newRow("yes") << int(IDYES) << true;
    }

    void erasingAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, erased);
        const QByteArray store = storeFile(kTwoMessages);
        m_dir->write(kStore, store);
        show();
        ArmedMessageBoxes boxes;
        boxes.answer({answer});
        eraseAll();
        QCOMPARE(boxes.shown(), QStringList({QStringLiteral("确认|确实清除全部这些讯息吗?")}));
        QCOMPARE(grid()->model()->rowCount(), erased ? 0 : 2);
        QCOMPARE(m_dir->exists(kStore), !erased);
        if (!erased)
            QCOMPARE(m_dir->read(kStore), store);
    }

    void messagesArrivingWhileOpenAreNotErasedUnseen()
    {
        m_dir->write(kStore, storeFile(kTwoMessages));
        show();
        QVERIFY(StoreMessages(m_info, QStringLiteral("<Messages><m Logid=\"ruruv\" "
                                                     "FromIP=\"10.0.0.3\" Comment=\"新来的\"/>"
                                                     "</Messages>")));
        ArmedMessageBoxes boxes;
        boxes.answer({IDYES, 0});
        eraseAll();
        QCOMPARE(boxes.shown(),
                 QStringList({QStringLiteral("确认|确实清除全部这些讯息吗?"),
                              QStringLiteral("提示|收到了新的讯息，请查看后再清除")}));
        QCOMPARE(grid()->model()->rowCount(), 3);
        QCOMPARE(row(0)[2], QStringLiteral("新来的"));
        QVERIFY(m_dir->exists(kStore));

        // Once they have been seen, they go like the others.
        boxes.answer({IDYES});
        eraseAll();
        QCOMPARE(grid()->model()->rowCount(), 0);
        QVERIFY(!m_dir->exists(kStore));
    }

    void aStoreThatCannotBeErasedIsShownAgain()
    {
        if (::geteuid() == 0)
            QSKIP("root deletes files whatever the folder's permissions");
        m_dir->write(kStore, storeFile(kTwoMessages));
        show();
        const QString folder = m_dir->file(QStringLiteral("xml"));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        ArmedMessageBoxes boxes;
        boxes.answer({IDYES, 0});
        eraseAll();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(boxes.shown(),
                 QStringList({QStringLiteral("确认|确实清除全部这些讯息吗?"),
                              QStringLiteral("错误|讯息记录无法清除，请检查程序目录的权限")}));
        QVERIFY(m_dir->exists(kStore));
        QCOMPARE(grid()->model()->rowCount(), 2);
    }

    void aBrokenStoreIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("\x01\x02garbage\xff");
        QTest::newRow("cut short") << storeFile(kTwoMessages).left(80);
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("document type")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE Messages [<!ENTITY e \"x\">]>"
                          "<Messages><Message Comment=\"&e;\"/></Messages>");
        QTest::newRow("two roots")
            << QByteArray("<Messages><Message Comment=\"a\"/></Messages><Messages/>");
    }

    void aBrokenStoreIsSetAside()
    {
        QFETCH(QByteArray, content);
        m_dir->write(kStore, content);
        const QString older = kStore + QStringLiteral(".broken-20000101-000000");
        m_dir->write(older, "an older one");
        ArmedMessageBoxes boxes; // no box may appear
        show();
        QCOMPARE(grid()->model()->rowCount(), 0);
        QVERIFY(!m_dir->exists(kStore));
        QCOMPARE(m_dir->read(older), QByteArray("an older one"));
        const QStringList broken = brokenStores();
        QCOMPARE(broken.size(), 2);
        QCOMPARE(m_dir->read(QStringLiteral("xml/") + broken.last()), content);
        QVERIFY(boxes.shown().isEmpty());
    }

    void anUnreadableStoreIsKept_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a directory in its place") << true;
        QTest::newRow("no permission") << false;
    }

    void anUnreadableStoreIsKept()
    {
        QFETCH(bool, directory);
        const QString path = m_dir->file(kStore);
        if (directory) {
            QDir().mkpath(path);
        } else {
            if (::geteuid() == 0)
                QSKIP("root reads files whatever their permissions");
            m_dir->write(kStore, storeFile(kTwoMessages));
            QFile::setPermissions(path, {});
        }
        show();
        QCOMPARE(grid()->model()->rowCount(), 0);
        QVERIFY(m_dir->exists(kStore));
        QVERIFY(brokenStores().isEmpty());
        if (!directory) {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(m_dir->read(kStore), storeFile(kTwoMessages));
        }
    }

    void closingButEscape()
    {
        show();
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(m_window->isVisible());
        auto *close = m_window->findChild<QPushButton *>(QStringLiteral("btnLogin"));
        QCOMPARE(close->text(), QStringLiteral("关闭(&C)"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!m_window->isVisible());
        show();
        QTest::mouseClick(m_window->findChild<QWidget *>(QStringLiteral("imgFormClose")),
                          Qt::LeftButton, {}, {10, 10});
        QVERIFY(!m_window->isVisible());
    }
};

QTEST_MAIN(MessageWindowTest)
#include "messagewindow_test.moc"
