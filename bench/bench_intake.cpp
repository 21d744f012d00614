// Benchmark: 添加 and 保存 of the intake window with 200,000 orders against 1,000. Both shops
// keep the same 50 pending orders, so the only difference is the size of the order table.
#include "support/BigShop.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "repair/Udxdj.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using korv::bench::secondsOf;

constexpr int kPending = 50;

// Saves answer their message boxes at once.
class Silent : public korv::MessagePresenter {
public:
    int shown = 0;
    bool present(korv::MessageKind, const QString &, const QString &) override
    {
        ++shown;
        return true;
    }
};

struct Costs {
    double add = 0;   // median seconds of one 添加
    double save = 0;  // median seconds of one 保存 in add mode
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString prepare(int orders)
{
    const QString path =
        QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-intake-%1.mdb").arg(orders));
    korv::bench::BigShopSize size = korv::bench::BigShopSize::forOrders(orders);
    size.customers = std::min(size.customers, 2000);  // the pick lists are not what is measured
    const double took = secondsOf([&] { korv::bench::generateBigShop(path, size, korv::bench::IfExists::Replace); });
    korv::Database db(path);
    // The same pending list in both shops: the last kPending orders, nothing else pending.
    db.exec(QStringLiteral("update jjdb set wxzt=2 where wxzt=0"));
    db.exec(QStringLiteral("update jjdb set wxzt=0 where rowid > (select max(rowid) from jjdb) - %1").arg(kPending));
    std::printf("database: %d orders, %s pending (generated in %.1f s)\n", orders,
                qPrintable(db.scalar(QStringLiteral("select count(*) from jjdb where wxzt=0"))), took);
    return path;
}

Costs measure(const QString &path, int reps)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    ctx.session.CurrentRole = 1;
    ctx.session.DeptCode = QStringLiteral("01");
    ctx.session.PendingAlarmHours = QStringLiteral("24");
    korv::TFrmdxdj window(ctx);
    window.show();
    QCoreApplication::processEvents();

    std::vector<double> adds, saves;
    for (int i = 0; i < reps; ++i) {
        window.ComboBox1->setEditText(QStringLiteral("电视机"));
        window.ComboBox6->setEditText(QStringLiteral("顾客%1").arg(i));
        window.ComboBox8->setEditText(QStringLiteral("王工"));
        window.edit12->setText(QStringLiteral("50.00"));
        const QString number = window.edit1->text();
        saves.push_back(secondsOf([&] { window.btnsaveClick(); }));
        if (window.edit1->text() == number)
            throw korv::DbError(QStringLiteral("the save of %1 did not go through").arg(number));
        window.btneditClick();
        adds.push_back(secondsOf([&] { window.btnaddClick(); }));
        // The saved orders leave the pending list, so every 添加 reads the same rows.
        db.exec(QStringLiteral("update jjdb set wxzt=2 where wxdh=") + korv::sqlQuote(number));
    }
    return {median(adds), median(saves)};
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    int big = 200000;
    int reps = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const int v = std::atoi(argv[i + 1]);
        if (arg == "--orders" && v > 1000)
            big = v;
        else if (arg == "--reps" && v > 0)
            reps = v;
        else {
            std::fprintf(stderr, "usage: bench_intake [--orders N>1000] [--reps N]\n");
            return 2;
        }
    }
    Silent silent;
    korv::setMessagePresenter(&silent);
    try {
        const QString smallPath = prepare(1000);
        const QString bigPath = prepare(big);
        // Alternating halves keep the page cache and the clock speed alike for both shops.
        const Costs small1 = measure(smallPath, reps / 2);
        const Costs big1 = measure(bigPath, reps / 2);
        const Costs small2 = measure(smallPath, reps - reps / 2);
        const Costs big2 = measure(bigPath, reps - reps / 2);
        const Costs small{std::min(small1.add, small2.add), std::min(small1.save, small2.save)};
        const Costs large{std::min(big1.add, big2.add), std::min(big1.save, big2.save)};
        std::printf("添加 with 1,000 orders:   %.2f ms\n", small.add * 1e3);
        std::printf("添加 with %d orders: %.2f ms\n", big, large.add * 1e3);
        std::printf("保存 with 1,000 orders:   %.2f ms\n", small.save * 1e3);
        std::printf("保存 with %d orders: %.2f ms\n", big, large.save * 1e3);
        const double addRatio = large.add / small.add;
        const double saveRatio = large.save / small.save;
        std::printf("ratio 添加 big/small: %.2f\n", addRatio);
        std::printf("ratio 保存 big/small: %.2f\n", saveRatio);
        std::printf("ratio intake big/small (worse of the two): %.2f\n", std::max(addRatio, saveRatio));
    } catch (const korv::DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
