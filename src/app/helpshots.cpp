// Build step: pictures of the real windows for the user guide, taken offscreen over a demo shop.
#include "common/Clock.h"
#include "common/Messages.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "query_print/mldy.h"
#include "repair/Receipt.h"
#include "repair/Udxdj.h"
#include "repair/Upxdj.h"
#include "repair/Uqjdj.h"
#include "settings/Uzdwh.h"
#include "inventory/Ubjgl.h"
#include "shell/Startup.h"
#include "shell/Umain.h"
#include "shell/Uyhdl.h"
#include "ui/DBGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <functional>

using namespace korv;

namespace {

// A small shop on the morning of 9 December 2026: every station has something to show.
const char *const kDemoShop[] = {
    "insert into bmb(bmdh, bmmc, sm) values ('01', '维修一部', '家电维修')",
    "insert into csszb(bmdh, bjqx, bjqx2) values ('01', 48, 72)",
    "insert into whb(whff, whqx, Year, Month) values ('整机保修', '3月', '', '3'), ('上门保养', '1年', '1', '')",
    "insert into jyb(jymc, xb, xl, bm, jw, lxdh) values ('王建国', '男', '专科', '维修一部', '维修工程师', "
    "'13905710011'), ('李明', '男', '中专', '维修一部', '维修员', '13905710012'), ('赵丽', '女', '高中', '维修一部', "
    "'前台接待', '13905710013')",
    "insert into khjbxx(bh, khmc, lxdh, yb, dz) values ('000001', '张伟', '13805710001', '310012', "
    "'杭州市西湖区文三路88号'), ('000002', '刘芳', '13805710002', '310013', '杭州市拱墅区湖墅南路20号'), "
    "('000003', '陈静', '13805710003', '310014', '杭州市上城区解放路5号')",
    "insert into sjjbxx(bh, sjmc, lxdh, dz) values ('000001', '国美电器文三路店', '0571-88880001', '文三路100号'), "
    "('000002', '苏宁易购延安路店', '0571-88880002', '延安路200号')",
    "insert into cpjbxx(bh, cpmc, cppp, cpxh, cx, cd) values ('000001', '电视机', '长虹', 'LED55C2', '长虹', '绵阳'), "
    "('000002', '洗衣机', '海尔', 'XQG80', '海尔', '青岛'), ('000003', '空调', '格力', 'KFR-35GW', '格力', '珠海'), "
    "('000004', '冰箱', '美的', 'BCD-215', '美的', '顺德')",
    "insert into bjjbxx(bh, bjmc, bjxh, bjgg, dw) values ('000001', '高压包', 'BSC25', '通用', '个'), "
    "('000002', '电源板', 'PW-55', '55寸', '块'), ('000003', '启动电容', 'CBB61', '2.5uF', '个')",
    "insert into bjkc(bh, bjmc, xh, gg, dw, sl, pjdj, kcjg, tssx, tsxx) values "
    "('000001', '高压包', 'BSC25', '通用', '个', 8, '45.00', '360.00', '20.00', '2.00'), "
    "('000002', '电源板', 'PW-55', '55寸', '块', 1, '180.00', '180.00', '5.00', '2.00'), "
    "('000003', '启动电容', 'CBB61', '2.5uF', '个', 30, '6.50', '195.00', '50.00', '10.00')",
    "insert into gjkc(bh, gjmc, xh, gg, gmrq, syzt, jyr, xxsm) values "
    "('001', '万用表', 'UT58A', '数字', '2024-03-01', '在库', '', ''), "
    "('002', '电烙铁', '936', '60W', '2024-03-01', '借出', '李明', ''), "
    "('003', '示波器', 'DS1102', '100MHz', '2025-06-18', '在库', '', '')",
    "insert into jjdb(wxdh, cpmc, lb, xh, gmsd, jshm, gmrq, sfbx, xm, dh, yb, dz, gjyy, fj, ys, wxf, smf, dj, jjrq, "
    "jjy, wxfs, bz) values ('01000001', '电视机', '长虹', 'LED55C2', '国美电器文三路店', 'C55A0912', '2024-05-01', "
    "'1', '张伟', '13805710001', '310012', '杭州市西湖区文三路88号', '有声音无图像', '遥控器', '200.00', '150.00', "
    "'0.00', '50.00', '2026-12-07 09:30:00', '赵丽', '0', '')",
    "insert into jjdb(wxdh, cpmc, lb, xh, xm, dh, dz, gjyy, fj, ys, wxf, smf, dj, jjrq, jjy, wxfs) values "
    "('01000002', '洗衣机', '海尔', 'XQG80', '刘芳', '13805710002', '杭州市拱墅区湖墅南路20号', '不脱水', '无', "
    "'100.00', '80.00', '30.00', '0.00', '2026-12-09 09:10:00', '赵丽', '1')",
    "insert into jjdb(wxdh, wxzt, cpmc, lb, xh, xm, dh, dz, gjyy, fj, dj, jjrq, jjy, wxfs, wxry, jxsj, ylbj) values "
    "('01000003', 1, '空调', '格力', 'KFR-35GW', '陈静', '13805710003', '杭州市上城区解放路5号', '不制冷', '无', "
    "'0.00', '2026-12-08 10:00:00', '赵丽', '1', '王建国', '2026-12-08 14:00:00', '未领取任何备件')",
    "insert into jjdb(wxdh, wxzt, cpmc, lb, xh, xm, dh, dz, gjyy, fj, dj, jjrq, jjy, wxfs, wxry, jxsj, ylbj, wxf, jcf, "
    "smf, ljf, xlqk, xfrq, qssj) values ('01000004', 2, '冰箱', '美的', 'BCD-215', '张伟', '13805710001', "
    "'杭州市西湖区文三路88号', '冷藏室不凉', '无', '50.00', '2026-12-05 15:00:00', '赵丽', '0', '李明', "
    "'2026-12-06 09:00:00', '启动电容(000003)1个', '120.00', '20.00', '0.00', '6.50', '完全修复', '2026-12-08', "
    "'2026-12-08 16:30:00')",
    "insert into jjdb(wxdh, wxzt, cpmc, lb, xh, xm, dh, dz, gjyy, fj, dj, jjrq, jjy, wxfs, wxry, jxsj, ylbj, wxf, jcf, "
    "smf, ljf, xlqk, xfrq, qssj, whfs, whqx, fkfs, jjkx, qjr, qjrq, hfr, hfsj, hfqk) values ('01000005', 2, "
    "'电视机', '长虹', 'LED42', '刘芳', '13805710002', '杭州市拱墅区湖墅南路20号', '无法开机', '无', '0.00', "
    "'2026-12-01 10:00:00', '赵丽', '0', '王建国', '2026-12-01 14:00:00', '电源板(000002)1块', '100.00', '0.00', "
    "'0.00', '180.00', '完全修复', '2026-12-03', '2026-12-03 17:00:00', '整机保修', '3月', '现金付款', '280.00', "
    "'刘芳', '2026-12-04', '赵丽', '2026-12-08', '使用正常，客户满意')",
};

// Lets layouts, pick lists and paint events settle before a picture is taken.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

class Camera {
public:
    explicit Camera(QString folder) : folder_(std::move(folder)) {}

    void take(QWidget *window, const QString &name)
    {
        settle();
        if (!window || !window->grab().save(folder_ + name))
            fail(name);
        else
            QTextStream(stdout) << "  " << name << "\n";
    }

    // For a window that runs modally: it is photographed once it is up (after `prepare`), then
    // closed, and the handler that opened it goes on.
    void takeNextModal(const QString &name, std::function<void(QWidget *)> prepare = {})
    {
        auto *timer = new QTimer;
        auto waited = std::make_shared<QElapsedTimer>();
        waited->start();
        QObject::connect(timer, &QTimer::timeout, [this, timer, waited, name, prepare] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal && waited->elapsed() < 5000)
                return;
            timer->deleteLater();
            if (!modal) {
                fail(name);
                return;
            }
            if (prepare)
                prepare(modal);
            take(modal, name);
            modal->close();
        });
        timer->start(20);
    }

    bool failed() const { return failed_; }

private:
    void fail(const QString &name)
    {
        QTextStream(stderr) << "could not take " << name << "\n";
        failed_ = true;
    }

    QString folder_;
    bool failed_ = false;
};

// Message boxes would wait for a click nobody gives; the tool lists them instead.
class NoBoxes : public MessagePresenter {
public:
    bool present(MessageKind, const QString &, const QString &text) override
    {
        QTextStream(stderr) << "message: " << text << "\n";
        return true;
    }
};

void clickRow(QWidget *grid, int row)
{
    auto *view = qobject_cast<QAbstractItemView *>(grid);
    if (!view)
        return;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

void photographIntake(TFrmMain_wxgl &main, Camera &camera)
{
    main.NK7Click();
    auto *intake = qobject_cast<TFrmdxdj *>(main.currentWorkWindow());
    if (!intake)
        return;
    intake->ComboBox1->setEditText(QStringLiteral("空调"));
    intake->ComboBox2->setEditText(QStringLiteral("格力"));
    intake->ComboBox3->setEditText(QStringLiteral("KFR-35GW"));
    intake->ComboBox6->setEditText(QStringLiteral("陈静"));
    intake->edit3->setText(QStringLiteral("13805710003"));
    intake->edit5->setText(QStringLiteral("杭州市上城区解放路5号"));
    intake->ComboBox8->setEditText(QStringLiteral("赵丽"));
    intake->edit6->setFocus();
    intake->edit6->setText(QStringLiteral("外机异响"));
    camera.take(&main, QStringLiteral("intake.png"));
    camera.takeNextModal(QStringLiteral("query.png"));
    intake->btnqueryClick();
}

void photographStations(TFrmMain_wxgl &main, Camera &camera)
{
    main.NK8Click();
    if (auto *dispatch = qobject_cast<TFrmpxdj *>(main.currentWorkWindow())) {
        dispatch->ComboBox1->setEditText(QStringLiteral("王建国"));
        camera.take(&main, QStringLiteral("dispatch.png"));
        clickRow(dispatch->DBGrid2, 0);
        camera.takeNextModal(QStringLiteral("issue.png"));
        dispatch->btnlqbjClick();
    }
    main.NK9Click();
    camera.take(&main, QStringLiteral("signoff.png"));
    main.NK10Click();
    if (auto *settlement = qobject_cast<Tfrmqjdj *>(main.currentWorkWindow())) {
        clickRow(settlement->DBGrid1, 0);
        camera.take(&main, QStringLiteral("settlement.png"));
        if (TmldyForm *sheet = settlement->DBGrid1DblClick()) {
            sheet->resize(960, 560);
            sheet->Tbtn3Click();
            camera.take(sheet, QStringLiteral("sheet.png"));
            delete sheet;
        }
    }
}

void photographStore(TFrmMain_wxgl &main, Camera &camera)
{
    main.NK11Click();
    if (auto *parts = qobject_cast<Tfrmbjgl *>(main.currentWorkWindow())) {
        camera.take(&main, QStringLiteral("parts.png"));
        camera.takeNextModal(QStringLiteral("stockin.png"));
        parts->btnrkClick();
    }
    main.NK15Click();
    camera.take(&main, QStringLiteral("tools.png"));
    main.NK4Click();
    camera.take(&main, QStringLiteral("customers.png"));
}

void photographShop(const QString &programDir, Camera &camera)
{
    TFrmMain_wxgl main(programDir, [] {});
    main.setWindowState(Qt::WindowNoState);
    main.setGeometry(0, 0, 1024, 740);
    {
        TFrmyhdl login(main);
        login.Edit1->setText(QStringLiteral("385920"));
        login.show();
        camera.take(&login, QStringLiteral("login.png"));
    }
    main.context().session.CurrentRole = 1;
    main.context().session.CurrentUserName = QStringLiteral("管理员");
    main.enableCommandsAfterLogin();
    main.show();
    // Active, so that the focused entry box shows its highlight as on the counter's screen.
    QApplication::setActiveWindow(&main);
    camera.take(&main, QStringLiteral("main.png"));

    camera.takeNextModal(QStringLiteral("settings.png"), [](QWidget *modal) {
        if (auto *settings = qobject_cast<TFrmzdwh *>(modal))
            settings->PageControl1->setCurrentWidget(settings->TabSheet3);
    });
    main.Tbtn4Click();

    photographIntake(main, camera);
    if (TmldyForm *receipt = repair::showReceipt(main.context().db(), QStringLiteral("01000001"))) {
        receipt->resize(960, 520);
        camera.take(receipt, QStringLiteral("receipt.png"));
        delete receipt;
    }
    photographStations(main, camera);
    photographStore(main, camera);
    main.FrmClose();
}

}  // namespace

int main(int argc, char **argv)
{
    // Pictures are taken without a display, also when the build runs on a desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: korv_helpshots THEME_DIR OUTPUT_DIR\n";
        return 2;
    }
    setUpApplication();
    const QString themes = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    const QString output = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + QLatin1Char('/');
    QDir().mkpath(output);

    QTemporaryDir shop;
    const QString programDir = normalizedProgramDir(shop.path());
    for (const char *theme : {"msn.sui", "OneBlue.sui"})
        QFile::copy(themes + QLatin1String(theme), programDir + QLatin1String(theme));
    Clock::setFixed(QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC));
    NoBoxes boxes;
    setMessagePresenter(&boxes);
    Camera camera(output);
    try {
        createDatabaseFileIfAbsent(programDir + QStringLiteral("korv.mdb"));
        {
            Database db(programDir + QStringLiteral("korv.mdb"));
            for (const char *sql : kDemoShop)
                db.exec(QString::fromUtf8(sql));
        }
        photographShop(programDir, camera);
    } catch (const DbError &e) {
        QTextStream(stderr) << e.text() << "\n";
        return 1;
    }
    setMessagePresenter(nullptr);
    return camera.failed() ? 1 : 0;
}
