#pragma once

#include "BankKey.h"
#include "BankRows.h"
#include "ManualClock.h"
#include "study/Deliverable.h"
#include "study/FormMain.h"

#include "banks/format/BankFormat.h"
#include "forms/MsgBox.h"
#include "forms/Runtime.h"
#include "forms/Timer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace fixture {

using bankrows::question;

inline std::vector<banks::ChapterRow> chapters()
{
    std::vector<banks::ChapterRow> out;
    for (int c = 1; c <= 14; ++c)
        out.push_back({c, QStringLiteral("第%1章").arg(c), c <= 7 ? 1 : 2});
    return out;
}

// A main window over a bank of the test's own, in a program folder of the
// test's own (tests run side by side), with message boxes recorded and
// answered by `answer`.
class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        forms::setAppPath(dir.path());
        folder = forms::appPath();
        bank = folder + QStringLiteral("/in.dll");
        forms::setMsgBoxResponder([this](const forms::MsgBoxRequest& r) {
            messages.push_back(r);
            return answer;
        });
    }
    void TearDown() override
    {
        form.reset();
        forms::setMsgBoxResponder([](const forms::MsgBoxRequest&) { return forms::vbOK; });
        forms::setAppPath(QString());
    }

    void writeBank(const std::vector<banks::QuestionRow>& rows, const QString& password = QStringLiteral(BANK_PASSWORD))
    {
        banks::writeBank(bank, password, chapters(), rows);
    }

    study::FormMain& open(const study::Deliverable& d = study::penmaro())
    {
        form = std::make_unique<study::FormMain>(d);
        form->show();
        return *form;
    }

    // The bank's stored answers in id order, through a connection of the
    // test's own.
    std::vector<QString> states()
    {
        db::Connection c;
        c.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + bank
                              + QStringLiteral(";jet oledb:database password=" BANK_PASSWORD));
        c.open();
        db::Recordset r;
        r.open(QStringLiteral("select state from shiti2012 order by id asc"), c);
        std::vector<QString> out;
        for (; !r.eof(); r.moveNext())
            out.push_back(r.value(0).isNull() ? QStringLiteral("<null>") : r.value(0).toString());
        return out;
    }

    QString title() const { return form->lblTitle->caption(); }

    QTemporaryDir dir;
    QString folder, bank;
    std::unique_ptr<study::FormMain> form;
    std::vector<forms::MsgBoxRequest> messages;
    int answer = forms::vbOK;
};

// A window whose clock the test drives, whose result dialog records its two
// lines instead of waiting, and whose hand-in confirmation is answered Yes.
class ExamWindow : public Window {
protected:
    void SetUp() override
    {
        Window::SetUp();
        forms::setClock(&clock); // before the window makes its timer
        forms::setModalResponder([this](forms::Form& f) {
            auto& d = static_cast<study::DlgMsg&>(f);
            results.emplace_back(d.lblLabel1->caption(), d.lblLabel2->caption());
        });
        answer = forms::vbYes;
    }
    void TearDown() override
    {
        Window::TearDown();
        forms::setModalResponder(nullptr);
        forms::setClock(nullptr);
    }

    // Penmaro's paper quotas exactly, so every question is drawn: ids from
    // 1, by chapter, the right answer `ans` (B unless said).
    static std::vector<banks::QuestionRow> paperQuotaRows(const char* ycbz = "0", const char* ans = "2")
    {
        std::vector<banks::QuestionRow> rows;
        for (const auto& [chapter, quota] : study::penmaro().paperQuotas)
            for (int i = 0; i < quota; ++i)
                rows.push_back(question(static_cast<int>(rows.size()) + 1, chapter, ycbz, "3", ans));
        return rows;
    }

    testsupport::ManualClock clock;
    std::vector<std::pair<QString, QString>> results;
};

} // namespace fixture
