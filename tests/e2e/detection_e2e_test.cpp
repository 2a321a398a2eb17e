// The options dialog names the real reference service from the shipped signature list.
#include "tests/e2e/serviceprocess.h"
#include "tests/ui/optionsfixture.h"

#include <QLabel>
#include <QTabWidget>

using namespace Qt::StringLiterals;

class DetectionEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedSignaturesNameTheReferenceService()
    {
        ServiceProcess service(60);
        QVERIFY(service.isListening());
        OptionsFixture f;
        f.info.ShippedDataDir = QStringLiteral(MARBELLO_DATA_DIR);
        f.describeSite();
        f.show();
        f.child<QTabWidget>("pgcOptions")->setCurrentIndex(1);
        OptionsFixture::retype(f.edit("edtNotLoginURL"), service.host() + u"/kbz/help"_s);
        OptionsFixture::click(f.button("btnDetectiveWebServerType"));
        QCOMPARE(f.child<QLabel>("dispWebServerType")->text(), u"Marbello 参考服务"_s);
    }
};

QTEST_MAIN(DetectionEndToEnd)
#include "detection_e2e_test.moc"
