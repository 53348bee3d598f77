// From two HTML files of our own, through both windows, to joined.html, byte for byte.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "fake_desktop.h"
#include "join/form2.h"
#include "join/preview_grid.h"
#include "scratch_home.h"
#include "shell/form1.h"

using veltrano::Form1;
using veltrano::Form2;
using veltrano::testing::FakeDesktop;

namespace {

QString data(const char* name) {
    return QStringLiteral(VELTRANO_TEST_DATA "/") + QLatin1String(name);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;

private Q_SLOTS:
    void joinsAndAppendsTwoFilesThroughBothWindows_data() {
        QTest::addColumn<bool>("joinMode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("join") << true << data("orders-shipping-join.expected.html");
        QTest::newRow("append") << false << data("orders-shipping-append.expected.html");
    }
    void joinsAndAppendsTwoFilesThroughBothWindows() {
        QFETCH(bool, joinMode);
        QFETCH(QString, expected);
        FakeDesktop desktop;
        QTemporaryDir output;
        Form1 form1;
        form1.show();
        QTest::keyClicks(form1.Text1, data("orders.htm"));
        QTest::keyClicks(form1.Text2, data("shipping.html"));
        QTest::mouseClick(form1.PushButton7, Qt::LeftButton);

        Form2& form2 = form1.form2();
        QVERIFY(form2.isVisible());
        QCOMPARE(form2.Combo1->count(), 2);
        form2.Combo1->setCurrentIndex(1);  // "Table 2", the orders
        if (joinMode) {
            QTest::mouseClick(form2.Option2, Qt::LeftButton);
            form2.Combo3->setCurrentIndex(0);
            form2.Combo4->setCurrentIndex(0);
        }
        form2.Text2->clear();
        QTest::keyClicks(form2.Text2, output.path());
        QTest::mouseClick(form2.PushButton6, Qt::LeftButton);

        QCOMPARE(desktop.messages.size(), size_t{1});
        QCOMPARE(desktop.messages[0].text, QStringLiteral("Done."));
        const QByteArray written = contentOf(output.filePath(QStringLiteral("joined.html")));
        QCOMPARE(written, contentOf(expected));
        QCOMPARE(QDir(output.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("joined.html")});
    }

    // A one-cell total row last in one table, a row of header cells last in the other: every
    // column of both tables reaches the grids and the result.
    void shortLastRowsKeepEveryColumn() {
        FakeDesktop desktop;
        QTemporaryDir output;
        Form1 form1;
        form1.show();
        form1.Text1->setText(data("totals.htm"));
        form1.Text2->setText(data("totals.htm"));
        QTest::mouseClick(form1.PushButton7, Qt::LeftButton);

        Form2& form2 = form1.form2();
        form2.Combo2->setCurrentIndex(1);
        QCOMPARE(form2.ListView1->model()->columnCount(), 3);
        QCOMPARE(form2.Combo3->count(), 3);
        QCOMPARE(form2.ListView2->model()->columnCount(), 2);
        form2.Text2->setText(output.path());
        QTest::mouseClick(form2.PushButton6, Qt::LeftButton);

        QCOMPARE(desktop.messages.size(), size_t{1});
        QCOMPARE(desktop.messages[0].text, QStringLiteral("Done."));
        QCOMPARE(contentOf(output.filePath(QStringLiteral("joined.html"))),
                 contentOf(data("totals-append.expected.html")));
    }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
