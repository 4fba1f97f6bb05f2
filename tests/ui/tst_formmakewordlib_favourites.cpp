// The favourites page of the settings window, driven through its controls
// on the favourites library the study window holds.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/appmessage.h"
#include "core/favourites.h"
#include "core/gbktext.h"
#include "support/find_child.h"
#include "support/settings_fixture.h"
#include "widgets/screentext.h"

namespace {

// The settings fixture with `count` favourites "f0", "f1", … (meanings
// "义0", …) saved in the user's "收藏库.lx" and loaded by the study window.
// With `words` (UTF-8) the favourites are those words, each meaning "义"
// and the word without the leading "f" of the numbered ones.
struct FavouritesFixture : SettingsFixture {
    FavouritesFixture(const std::string& name, int count) : FavouritesFixture(name, Numbered(count)) {}
    FavouritesFixture(const std::string& name, const std::vector<std::string>& words) : SettingsFixture(name) {
        path = f.gbkUserFolder + Gbk("收藏库.lx");
        TMyWordLib file;
        file.Path = path;
        for (const std::string& word : words) file.AddFavourite(Gbk(word), Gbk("义" + word.substr(word[0] == 'f')));
        file.SaveFavourites();
        study->LoadUserFavourites(path);
        study->Session().Clock().start();
        QTest::mouseClick(Child<QPushButton>(study, "suiButton3"), Qt::LeftButton);
    }

    QStringList Items() const {
        QStringList items;
        for (int i = 0; i < page().ListBoxMyWordLib->count(); ++i) items << page().ListBoxMyWordLib->item(i)->text();
        return items;
    }
    // The words the favourites file holds now.
    QStringList Saved() const {
        TMyWordLib file;
        file.LoadFavourites(path);
        QStringList words;
        for (int i = 0; i < file.Count; ++i) words << QString::fromStdString(Utf8(file.Words[i].Word));
        return words;
    }
    TMyWordLib& Favourites() const { return study->Session().MyWordLib; }
    TformMakeWordLib& page() const { return *settings; }
    void Select(int row) {
        QListWidget* list = page().ListBoxMyWordLib;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    std::string path;

private:
    static std::vector<std::string> Numbered(int count) {
        std::vector<std::string> words;
        for (int i = 0; i < count; ++i) words.push_back("f" + std::to_string(i));
        return words;
    }
};

QStringList Words(int count) {
    QStringList words;
    for (int i = 0; i < count; ++i) words << QString("f%1").arg(i);
    return words;
}

}  // namespace

class TestFavouritesPage : public QObject {
    Q_OBJECT
private slots:
    void openingListsTheFavouritesAndSelectsTheLast() {
        FavouritesFixture s("fav_open", 3);
        TformMakeWordLib& w = s.page();
        QVERIFY(w.isVisible());
        QCOMPARE(w.FrontPage(), w.PanelModifyWordLib);
        QCOMPARE(s.Items(), Words(3));
        QCOMPARE(w.ListBoxMyWordLib->currentRow(), 2);
        QVERIFY(w.ListBoxMyWordLib->currentItem()->isSelected());
        // Opening alone fills neither box.
        QCOMPARE(w.EditWord->text(), QString());

        s.Select(1);
        QCOMPARE(w.EditWord->text(), U("f1"));
        QCOMPARE(w.MemoC->toPlainText(), U("义1"));
    }

    void addingOrLookingUpAWord_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("withEnter");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("meaning");
        const QStringList three = Words(3);
        QTest::newRow("present, Enter") << "f1" << true << three << 1 << U("义1");
        QTest::newRow("present, 增加") << "f1" << false << three << 1 << U("义1");
        QTest::newRow("blanks around a word present") << " f1 " << true << three << 1 << U("义1");
        QTest::newRow("blanks around a new word") << "neu  " << true << (three + QStringList{"neu"}) << 3 << QString();
        QTest::newRow("new word, 增加") << "neu" << false << (three + QStringList{"neu"}) << 3 << QString();
        QTest::newRow("empty") << "" << true << three << 2 << U("typed meaning");
        QTest::newRow("blanks only") << "   " << false << three << 2 << U("typed meaning");
        QTest::newRow("shown as kept") << "a</e>b" << true << (three + QStringList{U("a＜/e>b")}) << 3 << QString();
    }
    void addingOrLookingUpAWord() {
        QFETCH(QString, typed);
        QFETCH(bool, withEnter);
        QFETCH(QStringList, items);
        QFETCH(int, selected);
        QFETCH(QString, meaning);
        FavouritesFixture s("fav_add", 3);
        TformMakeWordLib& w = s.page();
        w.EditWord->setText(typed);
        w.MemoC->setPlainText(U("typed meaning"));
        if (withEnter)
            QTest::keyClick(w.EditWord, Qt::Key_Return);
        else
            QTest::mouseClick(w.ButtonAdd, Qt::LeftButton);
        QCOMPARE(s.Items(), items);
        QCOMPARE(s.Favourites().Count, static_cast<int>(items.size()));
        QCOMPARE(w.ListBoxMyWordLib->currentRow(), selected);
        QCOMPARE(w.MemoC->toPlainText(), meaning);
        if (items.size() > 3) {
            // A new word is stored with what the meaning box held.
            QCOMPARE(s.Favourites().Words[3].Meaning, std::string("typed meaning"));
            QCOMPARE(Child<QLabel>(s.study, "PanelMyWordLibWordCount")->text(), U("收藏库词数：4"));
        }
        QVERIFY(s.f.messages.Texts().empty());
    }

    void aWordTypedDifferentlyButKeptAlikeIsNotAddedTwice() {
        FavouritesFixture s("fav_kept", 0);
        TformMakeWordLib& w = s.page();
        w.EditWord->setText("a</e>b");
        QTest::keyClick(w.EditWord, Qt::Key_Return);
        w.MemoC->setPlainText("m");
        QTest::keyClick(w.EditWord, Qt::Key_Return);
        QCOMPARE(s.Items(), QStringList{U("a＜/e>b")});
        QCOMPARE(s.Favourites().Count, 1);
        QCOMPARE(w.ListBoxMyWordLib->currentRow(), 0);
    }

    void aFullLibraryKeepsTheListInStep() {
        FavouritesFixture s("fav_full", kMaxFavourites);
        TformMakeWordLib& w = s.page();
        w.EditWord->setText("one more");
        QTest::mouseClick(w.ButtonAdd, Qt::LeftButton);
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{"收藏库单词不能超过3000!"});
        QCOMPARE(w.ListBoxMyWordLib->count(), kMaxFavourites);
        QCOMPARE(s.Favourites().Count, kMaxFavourites);
    }

    void modifyingTheSelectedEntry() {
        FavouritesFixture s("fav_modify", 3);
        TformMakeWordLib& w = s.page();
        s.Select(1);
        w.EditWord->setText("  changed ");
        w.MemoC->setPlainText(U("新义"));
        QTest::mouseClick(w.suiButton6, Qt::LeftButton);
        QCOMPARE(s.Items(), (QStringList{"f0", "changed", "f2"}));
        QCOMPARE(s.Favourites().Words[1].Word, std::string("changed"));
        QCOMPARE(s.Favourites().Words[1].Meaning, Gbk("新义"));

        // An empty word is stored as it is.
        w.EditWord->clear();
        QTest::mouseClick(w.suiButton6, Qt::LeftButton);
        QCOMPARE(s.Items(), (QStringList{"f0", "", "f2"}));
        QCOMPARE(s.Favourites().Words[1].Word, std::string());
        QVERIFY(s.f.messages.Texts().empty());
    }

    void deletingTheThirdOfFiveKeepsTheOrderInListAndFile() {
        FavouritesFixture s("fav_delete", 5);
        TformMakeWordLib& w = s.page();
        s.Select(2);
        s.f.messages.answers = {kIdNo};
        QTest::mouseClick(w.suiButton5, Qt::LeftButton);
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{"要从收藏库删除“f2”吗？"});
        QCOMPARE(s.f.messages.shown[0].flags, kMsgYesNoDefaultNo);
        QCOMPARE(s.Items(), Words(5));

        s.f.messages.answers = {kIdYes};
        QTest::mouseClick(w.suiButton5, Qt::LeftButton);
        const QStringList left{"f0", "f1", "f3", "f4"};
        QCOMPARE(s.Items(), left);
        QCOMPARE(s.Favourites().Count, 4);
        QCOMPARE(s.Saved(), Words(5));  // the file follows on "返 回"

        QTest::mouseClick(w.suiButton4, Qt::LeftButton);
        QCOMPARE(s.Saved(), left);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.ListBoxMyWordLib->count(), 0);
        QVERIFY(s.study->isEnabled());
        QVERIFY(s.study->Session().Clock().isActive());
    }

    // After a deletion the boxes belong to the highlighted entry: "修改"
    // then changes the word the learner sees, never a neighbour.
    void afterDeletingTheBoxesShowTheHighlightedEntry() {
        FavouritesFixture s("fav_delete_boxes", {"今", "海", "直す", "猫"});
        TformMakeWordLib& w = s.page();
        s.Select(1);
        QCOMPARE(w.EditWord->text(), U("海"));
        s.f.messages.answers = {kIdYes};
        QTest::mouseClick(w.suiButton5, Qt::LeftButton);
        QCOMPARE(s.Items(), (QStringList{U("今"), U("直す"), U("猫")}));
        QCOMPARE(w.ListBoxMyWordLib->currentItem()->text(), U("直す"));
        QCOMPARE(w.EditWord->text(), U("直す"));
        QCOMPARE(w.MemoC->toPlainText(), U("义直す"));

        // 修改 with the boxes untouched keeps 直す as it is.
        QTest::mouseClick(w.suiButton6, Qt::LeftButton);
        QTest::mouseClick(w.suiButton4, Qt::LeftButton);
        QCOMPARE(s.Saved(), (QStringList{U("今"), U("直す"), U("猫")}));

        // The last entry deleted: the list has none highlighted, the boxes
        // are empty and 修改 asks for a choice.
        FavouritesFixture last("fav_delete_last", {"今"});
        TformMakeWordLib& v = last.page();
        last.Select(0);
        last.f.messages.answers = {kIdYes};
        QTest::mouseClick(v.suiButton5, Qt::LeftButton);
        QCOMPARE(v.EditWord->text(), QString());
        QCOMPARE(v.MemoC->toPlainText(), QString());
        v.EditWord->setText(U("海"));
        QTest::mouseClick(v.suiButton6, Qt::LeftButton);
        QCOMPARE(last.f.messages.Texts().back(), std::string("请选择要修改的单词！"));
        QCOMPARE(last.Favourites().Count, 0);
    }

    void modifyAndDeleteWantASelection_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("修改") << "suiButton6" << U("请选择要修改的单词！");
        QTest::newRow("删除") << "suiButton5" << U("请选择要删除的单词");
    }
    void modifyAndDeleteWantASelection() {
        QFETCH(QString, button);
        QFETCH(QString, message);
        FavouritesFixture s("fav_no_selection", 0);
        TformMakeWordLib& w = s.page();
        w.EditWord->setText("x");
        QTest::mouseClick(w.PanelModifyWordLib->findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(s.Favourites().Count, 0);
    }

    void initialisingEmptiesLibraryFileAndCount() {
        FavouritesFixture s("fav_clear", 3);
        TformMakeWordLib& w = s.page();
        s.Select(0);
        const std::string question = "警告！初始化收藏库，会将收藏全部单词清空。\r\n\r\n要初始化收藏库吗？";
        s.f.messages.answers = {kIdNo};
        QTest::mouseClick(w.suiButton13, Qt::LeftButton);
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{question});
        QCOMPARE(s.f.messages.shown[0].flags, kMsgYesNoDefaultNo);
        QCOMPARE(s.Items(), Words(3));
        QCOMPARE(s.Favourites().Count, 3);

        s.f.messages.answers = {kIdYes};
        QTest::mouseClick(w.suiButton13, Qt::LeftButton);
        QCOMPARE(w.ListBoxMyWordLib->count(), 0);
        QCOMPARE(w.EditWord->text(), QString());
        QCOMPARE(w.MemoC->toPlainText(), QString());
        QCOMPARE(s.Saved(), QStringList());
        QCOMPARE(Child<QLabel>(s.study, "PanelMyWordLibWordCount")->text(), U("收藏库词数：0"));
        QTest::mouseClick(w.suiButton4, Qt::LeftButton);
        QCOMPARE(s.Saved(), QStringList());
    }

    void boxesKeepTheirTextsBetweenVisits() {
        FavouritesFixture s("fav_revisit", 2);
        TformMakeWordLib& w = s.page();
        s.Select(0);
        QTest::mouseClick(w.suiButton4, Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton3"), Qt::LeftButton);
        QCOMPARE(s.Items(), Words(2));
        QCOMPARE(w.EditWord->text(), U("f0"));
        QCOMPARE(w.MemoC->toPlainText(), U("义0"));
    }
};

QTEST_MAIN(TestFavouritesPage)
#include "tst_formmakewordlib_favourites.moc"
