#include <QKeyEvent>
#include <QtTest>

#include "widgets/virtualkey.h"

// The answer box switches on Windows virtual-key codes; these are the keys
// it gives meaning to, as the platform reports them.
class TestVirtualKey : public QObject {
    Q_OBJECT
private slots:
    void mapsKeys_data();
    void mapsKeys();
    void usesTheEventsKeyAndModifiers();
};

void TestVirtualKey::mapsKeys_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("code");

    // Keypad with Num Lock on: digits and operators have codes of their own.
    const int digits[] = {Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4,
                          Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9};
    for (int d = 0; d <= 9; ++d) QTest::addRow("keypad %d, Num Lock on", d) << digits[d] << true << 96 + d;
    QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << true << 106;
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 107;
    QTest::newRow("keypad -") << int(Qt::Key_Minus) << true << 109;
    QTest::newRow("keypad point, Num Lock on") << int(Qt::Key_Period) << true << 110;
    QTest::newRow("keypad /") << int(Qt::Key_Slash) << true << 111;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 13;

    // Keypad with Num Lock off: the navigation codes, as on the main block.
    QTest::newRow("keypad 0, Num Lock off") << int(Qt::Key_Insert) << true << 45;
    QTest::newRow("keypad 1, Num Lock off") << int(Qt::Key_End) << true << 35;
    QTest::newRow("keypad 2, Num Lock off") << int(Qt::Key_Down) << true << 40;
    QTest::newRow("keypad 3, Num Lock off") << int(Qt::Key_PageDown) << true << 34;
    QTest::newRow("keypad 4, Num Lock off") << int(Qt::Key_Left) << true << 37;
    QTest::newRow("keypad 5, Num Lock off") << int(Qt::Key_Clear) << true << 12;
    QTest::newRow("keypad 6, Num Lock off") << int(Qt::Key_Right) << true << 39;
    QTest::newRow("keypad 7, Num Lock off") << int(Qt::Key_Home) << true << 36;
    QTest::newRow("keypad 8, Num Lock off") << int(Qt::Key_Up) << true << 38;
    QTest::newRow("keypad 9, Num Lock off") << int(Qt::Key_PageUp) << true << 33;
    QTest::newRow("keypad point, Num Lock off") << int(Qt::Key_Delete) << true << 46;
    QTest::newRow("Num Lock") << int(Qt::Key_NumLock) << false << 144;

    // Main block.
    QTest::newRow("digit 1") << int(Qt::Key_1) << false << int('1');
    QTest::newRow("letter a") << int(Qt::Key_A) << false << int('A');
    QTest::newRow("letter z") << int(Qt::Key_Z) << false << int('Z');
    QTest::newRow("=") << int(Qt::Key_Equal) << false << 187;
    QTest::newRow("+ on the = key") << int(Qt::Key_Plus) << false << 187;
    QTest::newRow("[") << int(Qt::Key_BracketLeft) << false << 219;
    QTest::newRow("{ on the [ key") << int(Qt::Key_BraceLeft) << false << 219;
    QTest::newRow("]") << int(Qt::Key_BracketRight) << false << 221;
    QTest::newRow("- is not keypad -") << int(Qt::Key_Minus) << false << 189;
    QTest::newRow("* on the 8 key") << int(Qt::Key_Asterisk) << false << int('8');
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 13;
    QTest::newRow("Space") << int(Qt::Key_Space) << false << 32;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false << 27;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << 8;
    QTest::newRow("Ctrl") << int(Qt::Key_Control) << false << 17;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << false << 33;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << false << 34;
    QTest::newRow("Home") << int(Qt::Key_Home) << false << 36;
    QTest::newRow("End") << int(Qt::Key_End) << false << 35;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << false << 46;
    QTest::newRow("F1") << int(Qt::Key_F1) << false << 112;
    QTest::newRow("F5") << int(Qt::Key_F5) << false << 116;
    QTest::newRow("F9") << int(Qt::Key_F9) << false << 120;
    QTest::newRow("F12") << int(Qt::Key_F12) << false << 123;
    QTest::newRow("unknown key") << int(Qt::Key_unknown) << false << 0;
}

void TestVirtualKey::mapsKeys() {
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, code);
    QCOMPARE(WindowsVirtualKey(qtKey, keypad ? Qt::KeypadModifier : Qt::NoModifier), code);
}

void TestVirtualKey::usesTheEventsKeyAndModifiers() {
    QKeyEvent keypadSeven(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier, "7");
    QCOMPARE(WindowsVirtualKey(keypadSeven), 103);
    QKeyEvent shiftedBracket(QEvent::KeyPress, Qt::Key_BraceRight, Qt::ShiftModifier, "}");
    QCOMPARE(WindowsVirtualKey(shiftedBracket), 221);
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(WindowsVirtualKey(ctrlA), int('A'));
}

QTEST_MAIN(TestVirtualKey)
#include "tst_virtualkey.moc"
