// Fills a fresh shop database with ten years of realistic, reproducible trade.
#include "support/BigShop.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <sqlcipher/sqlite3.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korv::bench {

namespace {

// splitmix64: the same seed gives the same shop with any compiler or standard library, which
// the <random> distributions do not promise.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next()
    {
        quint64 z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int((next() >> 32) % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(double p) { return double(next() >> 11) * 0x1.0p-53 < p; }
    template <typename List>
    const auto &pick(const List &list)
    {
        return list[size_t(below(int(std::size(list))))];
    }

private:
    quint64 state_;
};

using Words = std::vector<const char *>;

// What the shop repairs: each kind with its names, model prefixes, usual faults and parts.
struct Category {
    const char *name;
    Words products;
    Words modelPrefixes;
    Words faults;
    Words parts;
};

const std::vector<Category> &categories()
{
    static const std::vector<Category> all = {
        {"彩电", {"彩色电视机", "液晶电视机", "等离子电视机", "背投电视机"}, {"TC-", "LED", "LCD", "PT"},
         {"开机三无", "无图像有伴音", "有图像无伴音", "图像偏色", "屏幕有一条水平亮线", "遥控失灵",
          "看一会儿自动关机", "图像抖动", "开机后指示灯闪烁不能启动", "屏幕局部发暗", "伴音有杂音",
          "自动搜台搜不到节目"},
         {"行输出变压器", "电源板", "主板", "高频头", "背光灯条", "逻辑板", "场输出块", "开关管", "遥控器",
          "按键板"}},
        {"冰箱", {"电冰箱", "双门电冰箱", "三门电冰箱", "冷柜"}, {"BCD-", "BC-", "BD-"},
         {"不制冷", "压缩机不启动", "冷藏室结霜严重", "冷冻室温度偏高", "运行噪音大", "箱内漏水",
          "温控失灵，压缩机不停机", "门封条老化关不严", "显示屏报故障代码"},
         {"压缩机", "启动继电器", "温控器", "化霜加热器", "门封条", "蒸发器", "毛细管", "风扇电机", "电脑板",
          "感温头"}},
        {"空调", {"分体挂壁式空调器", "柜式空调器", "窗式空调器", "变频空调器"}, {"KFR-", "KF-", "KFRd-"},
         {"不制冷", "不制热", "室外机不转", "室内机漏水", "遥控不能开机", "显示E1故障代码", "制冷效果差",
          "运行时有异响", "开机几分钟后停机"},
         {"启动电容", "四通阀", "室外风扇电机", "室内贯流风机", "遥控接收板", "温度传感器", "压缩机", "电脑板",
          "冷媒", "截止阀"}},
        {"洗衣机", {"全自动洗衣机", "双缸洗衣机", "滚筒洗衣机", "波轮洗衣机"}, {"XQB", "XPB", "XQG"},
         {"不脱水", "不进水", "不排水", "电机不转", "脱水时噪音大", "底部漏水", "程序控制失灵", "脱水时撞桶",
          "门锁打不开"},
         {"排水阀", "进水阀", "离合器", "电机", "电脑板", "水位开关", "门锁", "皮带", "减震吊杆", "轴承"}},
        {"微波炉", {"微波炉", "光波炉"}, {"MG-", "WP", "WD"},
         {"不加热", "转盘不转", "炉腔内打火", "按键失灵", "开门后灯不亮", "加热时有异响"},
         {"磁控管", "高压变压器", "高压电容", "高压二极管", "转盘电机", "门开关", "云母片", "控制板"}},
        {"热水器", {"燃气热水器", "电热水器", "太阳能热水器"}, {"JSQ", "DSZF", "F50-"},
         {"不点火", "点火后熄火", "漏水", "水温忽冷忽热", "显示E4故障代码", "加热很慢", "漏电保护跳闸"},
         {"脉冲点火器", "水气联动阀", "熄火保护针", "加热管", "镁棒", "温控器", "漏电保护插头", "风机"}},
        {"电磁炉", {"电磁炉"}, {"C21-", "SK", "RT"},
         {"不加热", "报E0故障", "风扇不转", "一开机就烧保险", "按键失灵", "间断加热"},
         {"IGBT功率管", "整流桥", "线盘", "风扇", "控制板", "保险管", "热敏电阻"}},
        {"影碟机", {"DVD影碟机", "VCD影碟机", "蓝光播放机"}, {"DVP-", "DV", "BD"},
         {"不读碟", "不出仓", "卡碟", "画面马赛克", "无声音", "开机无显示"},
         {"激光头", "仓门电机", "主轴电机", "解码板", "电源板", "皮带"}},
        {"音响", {"组合音响", "功放机", "家庭影院"}, {"MC-", "AV", "HT"},
         {"无声音", "有交流声", "一侧声道无声", "音量电位器接触不良", "收音无台"},
         {"功放块", "音量电位器", "喇叭", "电源变压器", "滤波电容"}},
    };
    return all;
}

const char *const kSurnames[] = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡", "郭", "何",
    "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹", "彭", "曾", "肖", "田",
    "董", "袁", "潘", "于", "蒋", "蔡", "余", "杜", "叶", "程", "苏", "魏", "吕", "丁", "任", "沈", "姚",
    "卢", "姜", "崔", "钟", "谭", "陆", "汪", "范", "金", "石", "廖", "贾", "夏", "韦", "方", "白", "邹",
    "孟", "熊", "秦", "邱", "江", "尹", "薛", "段", "雷", "侯", "龙", "史", "陶", "黎", "贺", "顾", "毛",
    "郝", "龚", "邵", "万", "严", "武", "戴", "莫", "孔", "向", "汤", "欧阳", "司马"};
const char *const kGivenChars[] = {
    "伟", "芳", "娜", "秀", "英", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛",
    "明", "超", "兰", "霞", "平", "刚", "桂", "文", "华", "建", "国", "红", "玉", "梅", "志", "海", "燕",
    "晓", "东", "春", "雷", "宇", "浩", "欣", "怡", "轩", "佳", "琪", "俊", "峰", "淑", "珍", "凤", "德",
    "胜", "永", "福", "金", "立", "新", "荣", "林", "波", "辉", "斌", "鹏", "慧", "琳", "婷", "雪", "莉",
    "亮", "成", "坤", "龙", "颖", "萍", "健", "云", "飞", "翠", "丹", "彬", "宏", "清", "秋"};
const char *const kDistricts[] = {"城关区", "东城区", "西城区", "南湖区", "北塘区", "新华区", "经济开发区",
                                  "高新区"};
const char *const kStreets[] = {"人民路", "解放路", "中山路", "建设路", "和平路", "文化路", "新华街",
                                "胜利路", "光明路", "长江路", "黄河路", "朝阳路", "幸福街", "友谊路",
                                "青年路", "工农路", "体育路", "车站路", "滨江大道", "五一路"};
const char *const kCompounds[] = {"阳光花园", "金色家园", "翠湖小区", "和谐家园", "锦绣华庭", "丽景苑",
                                  "机械厂宿舍", "纺织厂家属院", "电业局宿舍", "教师新村", "滨江花园",
                                  "幸福里小区", "东湖名苑", "铁路新村", "粮食局宿舍"};
const char *const kCounties[] = {"青山县", "临江县", "石门县", "桃源县"};
const char *const kTowns[] = {"白沙镇", "柳河镇", "清水镇", "双桥镇", "龙潭镇", "黄土岭乡", "新塘乡"};
const char *const kVillages[] = {"柳树", "杨家湾", "大王庄", "石桥", "新屋场", "枫树坪", "河口", "李家冲"};
const char *const kGroupNumbers[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
const char *const kPostcodes[] = {"436000", "436001", "436002", "436100", "436200", "436300", "436400"};
const char *const kBrands[] = {"星河", "云帆", "金穗", "青松", "北辰", "朗月", "华彩", "飞燕", "东岳",
                               "蓝鲸", "鹏程", "雪岭"};
const char *const kPlaces[] = {"广东顺德", "广东中山", "江苏南京", "四川绵阳", "山东青岛", "安徽合肥",
                               "浙江宁波", "湖北武汉"};
const char *const kShops[] = {"江州百货大楼", "新华商场", "人民商场", "友谊商店", "东方家电城",
                              "江州家电商场", "红星电器行", "五交化公司", "华联超市", "开发区电器城",
                              "青山县百货公司", "网上商城"};
const char *const kAccessories[] = {"无", "遥控器", "遥控器、底座", "电源线", "遥控器、电池", "说明书、保修卡",
                                    "遥控器、说明书、保修卡", "进水管、排水管", "外包装箱"};
const char *const kFaultLeads[] = {"客户反映", "", "", "用户称", "据客户讲，"};
const char *const kFaultDetails[] = {"使用约三年", "雷雨后出现", "时好时坏", "开机十分钟后出现", "搬家后出现",
                                     "天热时更明显", "已在别处修过一次未修好", "停电来电后出现",
                                     "小孩摔过一次", "冬天开机时出现"};
const char *const kRemarks[] = {"客户要求修好后电话通知", "机器外壳有划痕，已向客户说明", "加急",
                                "老客户，优先安排", "已告知可能需要更换主板，费用较高", "客户自行送修",
                                "保修卡丢失，凭发票保修", "修好后送货上门",
                                "白天家中无人，请晚上六点后联系", "机器较旧，已告知维修价值不高",
                                "上次同样故障返修"};
const char *const kRepairActions[] = {"更换", "更换", "更换", "修复", "重焊", "清洗"};
const char *const kRepairChecks[] = {"试机正常", "通电老化四小时正常", "连续运行两小时正常", "经客户验收正常",
                                     "试机各项功能正常"};
const char *const kPayments[] = {"现金", "现金", "现金", "刷卡", "转账", "微信支付", "支付宝"};
const char *const kCallbackNotes[] = {"客户满意", "机器使用正常，客户满意", "客户对维修速度满意",
                                      "客户反映使用正常", "电话无人接听", "客户建议降低收费",
                                      "客户反映仍有小毛病，已约再次检查"};
const char *const kCompanyTowns[] = {"江州市", "青山县", "临江县", ""};
const char *const kCompanyCores[] = {"第一中学", "实验小学", "人民医院", "机械厂", "纺织厂", "电业局",
                                     "邮电局", "宾馆", "大酒店", "幼儿园", "信用社", "粮食局",
                                     "自来水公司", "长途汽车站", "图书馆", "卫生院"};
const char *const kPartModelPrefixes[] = {"STR-", "TDA", "LA", "KA", "BU", "IRF", "YZ-", "HX-", "GT", "JQ-"};
const char *const kPartSpecs[] = {"220V", "12V/2A", "35uF/450V", "1.5匹", "3.15A", "50W", "通用", "φ8mm",
                                  "110V/60Hz"};
const char *const kUnits[] = {"个", "只", "块", "台", "套", "根", "片"};
const char *const kPartNotes[] = {"原厂配件", "通用件", "需预订", "易损件"};
const char *const kEducation[] = {"初中", "高中", "中专", "中专", "大专", "大专", "本科"};
const char *const kSchools[] = {"江州市第二职业中专", "江州电子技工学校", "江州市第一中学",
                                "省电子工业学校", "江州职业技术学院", "青山县职业中学", "省工业大学"};

struct Department {
    const char *code;
    const char *name;
    const char *note;
};
const Department kDepartments[] = {
    {"01", "维修部", "家电维修"},       {"02", "接待部", "接机、取机"},   {"03", "配件部", "备件采购与库存"},
    {"04", "财务部", "收款与结算"},     {"05", "上门服务部", "上门维修"}, {"06", "客户服务部", "回访与投诉"},
    {"07", "办公室", "行政"},           {"08", "质检部", "修后检验"}};

struct WarrantyMethod {
    const char *name, *period;
    int years, months;
};
// Repairs under the maker's warranty get one of the first two; the others any of the last two.
const WarrantyMethod kWarrantyMethods[] = {{"整机保修", "三个月", 0, 3}, {"整机保修", "六个月", 0, 6},
                                           {"部件保修", "一年", 1, 0}, {"不保修", "无", 0, 0}};
const int kDeposits[] = {50, 100, 200};
const int kCalloutCents[] = {2000, 3000, 5000};
const int kStockCeilings[] = {50, 100, 200};
const int kStockFloors[] = {2, 5, 10};

enum class Role { Technician, Intake, Callback, Stock, Accounts, Manager };
// Roles cycle in this order, so even a small staff has a technician, a receptionist and a
// caller among its first four.
const Role kRolePattern[] = {Role::Technician, Role::Intake,    Role::Technician, Role::Callback,
                             Role::Technician, Role::Stock,     Role::Technician, Role::Intake,
                             Role::Technician, Role::Manager,   Role::Technician, Role::Accounts,
                             Role::Technician, Role::Intake,    Role::Technician, Role::Callback,
                             Role::Technician, Role::Technician, Role::Intake,   Role::Technician};

const char *roleTitle(Role role)
{
    switch (role) {
    case Role::Technician: return "维修工";
    case Role::Intake: return "接机员";
    case Role::Callback: return "客服";
    case Role::Stock: return "库管员";
    case Role::Accounts: return "会计";
    case Role::Manager: return "经理";
    }
    return "";
}

int roleDepartment(Role role)
{
    switch (role) {
    case Role::Technician: return 0;
    case Role::Intake: return 1;
    case Role::Stock: return 2;
    case Role::Accounts: return 3;
    case Role::Callback: return 5;
    case Role::Manager: return 6;
    }
    return 0;
}

// --- text pieces --------------------------------------------------------------------------

std::string digits(Random &r, int count)
{
    std::string s(size_t(count), '0');
    for (char &c : s)
        c = char('0' + r.below(10));
    return s;
}

std::string recordNumber(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06d", n);
    return buf;
}

std::string money(int cents)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%d.%02d", cents / 100, cents % 100);
    return buf;
}

std::string wholeYuan(int yuan)
{
    return money(yuan * 100);
}

std::string personName(Random &r)
{
    std::string s = r.pick(kSurnames);
    s += r.pick(kGivenChars);
    if (r.chance(0.7))
        s += r.pick(kGivenChars);
    return s;
}

std::string mobile(Random &r)
{
    static const char *const heads[] = {"13", "15", "18", "139", "138", "186"};
    std::string s = r.pick(heads);
    return s + digits(r, 11 - int(s.size()));
}

std::string landline(Random &r)
{
    return "0713-" + std::to_string(r.between(2, 8)) + digits(r, 6);
}

std::string cityAddress(Random &r)
{
    std::string s = "江州市";
    s += r.pick(kDistricts);
    s += r.pick(kStreets);
    s += std::to_string(r.between(1, 360)) + "号";
    if (r.chance(0.2))
        return s;
    s += r.pick(kCompounds);
    s += std::to_string(r.between(1, 24)) + "栋" + std::to_string(r.between(1, 4)) + "单元";
    return s + std::to_string(r.between(1, 18)) + "0" + std::to_string(r.between(1, 4)) + "室";
}

std::string address(Random &r)
{
    if (r.chance(0.8))
        return cityAddress(r);
    std::string s = r.pick(kCounties);
    s += r.pick(kTowns);
    s += r.pick(kVillages);
    s += "村";
    s += r.pick(kGroupNumbers);
    return s + "组";
}

std::string model(Random &r, const char *prefix)
{
    std::string s = prefix + std::to_string(r.between(18, 9999));
    if (r.chance(0.5))
        s += char('A' + r.below(8));
    if (r.chance(0.3))
        s += "/" + std::string(1, char('A' + r.below(26))) + digits(r, 1);
    return s;
}

std::string faultText(Random &r, const Category &c)
{
    std::string s = r.pick(kFaultLeads);
    s += r.pick(c.faults);
    if (r.chance(0.4)) {
        s += "，";
        s += r.pick(c.faults);
    }
    if (r.chance(0.5)) {
        s += "，";
        s += r.pick(kFaultDetails);
    }
    return s;
}

// --- time -----------------------------------------------------------------------------------

// Moments are seconds counted from Julian day 0, so dates come from QDate without time zones.
constexpr int kDaySeconds = 86400;
constexpr int kOpening = 8 * 3600 + 1800;
constexpr int kClosing = 18 * 3600;

qint64 moment(const QDate &date, int second)
{
    return date.toJulianDay() * kDaySeconds + second;
}

std::string dateOnlyText(qint64 t)
{
    int y = 0, m = 0, d = 0;
    QDate::fromJulianDay(t / kDaySeconds).getDate(&y, &m, &d);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

std::string dateTimeText(qint64 t)
{
    const int s = int(t % kDaySeconds);
    char buf[16];
    std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return dateOnlyText(t) + buf;
}

// A moment during opening hours, `minDays` to `maxDays` days after `from` and at least ten
// minutes after it.
qint64 later(Random &r, qint64 from, int minDays, int maxDays)
{
    const qint64 day = from / kDaySeconds;
    int add = r.between(minDays, maxDays);
    int earliest = add == 0 ? int(from % kDaySeconds) + 600 : kOpening;
    if (earliest >= kClosing) {
        ++add;
        earliest = kOpening;
    }
    return (day + add) * kDaySeconds + r.between(earliest, kClosing);
}

// --- writing rows ---------------------------------------------------------------------------

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}

// One prepared insert over every column of a table; columns not set in a row stay null.
class Inserter {
public:
    Inserter(sqlite3 *db, const char *table) : db_(db)
    {
        const TableDef *def = findTable(QString::fromLatin1(table));
        if (!def)
            throw DbError(QStringLiteral("no table %1").arg(QLatin1String(table)));
        std::string names, marks;
        for (const ColumnDef &c : def->columns) {
            index_.emplace(c.name, int(slots_.size()));
            slots_.emplace_back();
            names += (names.empty() ? "\"" : ", \"") + std::string(c.name) + "\"";
            marks += marks.empty() ? "?" : ", ?";
        }
        const std::string sql = "insert into " + std::string(table) + " (" + names + ") values (" + marks + ")";
        check(db_, sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt_, nullptr));
    }
    ~Inserter() { sqlite3_finalize(stmt_); }
    Inserter(const Inserter &) = delete;
    Inserter &operator=(const Inserter &) = delete;

    void text(const char *column, std::string value)
    {
        Slot &s = slot(column);
        s.kind = Slot::Text;
        s.text = std::move(value);
    }
    void integer(const char *column, qint64 value)
    {
        Slot &s = slot(column);
        s.kind = Slot::Integer;
        s.number = value;
    }
    void insert()
    {
        for (size_t i = 0; i < slots_.size(); ++i) {
            const Slot &s = slots_[i];
            const int at = int(i) + 1;
            if (s.kind == Slot::Text)
                sqlite3_bind_text(stmt_, at, s.text.data(), int(s.text.size()), SQLITE_STATIC);
            else if (s.kind == Slot::Integer)
                sqlite3_bind_int64(stmt_, at, s.number);
            else
                sqlite3_bind_null(stmt_, at);
        }
        check(db_, sqlite3_step(stmt_));
        sqlite3_reset(stmt_);
        for (Slot &s : slots_)
            s.kind = Slot::Null;
    }

private:
    struct Slot {
        enum Kind { Null, Integer, Text } kind = Null;
        qint64 number = 0;
        std::string text;
    };
    Slot &slot(const char *column)
    {
        const auto it = index_.find(column);
        if (it == index_.end())
            throw DbError(QStringLiteral("no column %1").arg(QLatin1String(column)));
        return slots_[size_t(it->second)];
    }

    sqlite3 *db_;
    sqlite3_stmt *stmt_ = nullptr;
    std::unordered_map<std::string_view, int> index_;
    std::vector<Slot> slots_;
};

// --- the shop -------------------------------------------------------------------------------

struct Customer {
    std::string name, phone, postcode, address;
};
struct Product {
    int category;
    std::string name, model;
};
struct Staff {
    std::vector<std::string> technicians, intake, callback;
};
// What the settlement of an order depends on from its intake.
struct Intake {
    const Category *category;
    bool warranty;
    bool visit;
};

class ShopWriter {
public:
    ShopWriter(sqlite3 *db, const BigShopSize &size) : db_(db), size_(size), r_(size.seed) {}

    void writeAll()
    {
        writeSettings();
        writeDepartments();
        writeWarrantyMethods();
        writeEmployees();
        writeCustomers();
        writeProducts();
        writeParts();
        writeOrders();
    }

private:
    void writeSettings();
    void writeDepartments();
    void writeWarrantyMethods();
    void writeEmployees();
    void writeCustomers();
    void writeProducts();
    void writeParts();
    void writeOrders();
    bool isSettled(int index);
    qint64 intakeMoment(int index) const;
    Intake fillIntake(Inserter &row, qint64 intake);
    void fillSettlement(Inserter &row, const Intake &intake, qint64 dispatched);

    sqlite3 *db_;
    BigShopSize size_;
    Random r_;
    std::vector<Customer> customers_;
    std::vector<Product> products_;
    Staff staff_;
};

void ShopWriter::writeSettings()
{
    Inserter row(db_, "csszb");
    row.text("bmdh", "01");
    row.integer("bjqx", 24);
    row.integer("bjqx2", 48);
    row.insert();
}

void ShopWriter::writeDepartments()
{
    Inserter row(db_, "bmb");
    for (int i = 0; i < size_.departments; ++i) {
        row.text("bmdh", kDepartments[i].code);
        row.text("bmmc", kDepartments[i].name);
        row.text("sm", kDepartments[i].note);
        row.insert();
    }
}

void ShopWriter::writeWarrantyMethods()
{
    Inserter row(db_, "whb");
    for (const WarrantyMethod &m : kWarrantyMethods) {
        row.text("whff", m.name);
        row.text("whqx", m.period);
        row.integer("Year", m.years);
        row.integer("Month", m.months);
        row.insert();
    }
}

void ShopWriter::writeEmployees()
{
    Inserter row(db_, "jyb");
    for (int i = 0; i < size_.employees; ++i) {
        const Role role = kRolePattern[size_t(i) % std::size(kRolePattern)];
        std::string name = personName(r_);
        const std::string home = address(r_);
        row.text("jymc", name);
        row.text("xb", r_.chance(0.7) ? "男" : "女");
        row.text("csny", dateOnlyText(moment(QDate(1960, 1, 1).addDays(r_.below(40 * 365)), 0)));
        row.text("xl", r_.pick(kEducation));
        row.text("bm", kDepartments[roleDepartment(role) % size_.departments].name);
        row.text("jw", roleTitle(role));
        row.text("byxs", r_.pick(kSchools));
        row.text("lxdh", mobile(r_));
        row.text("jtzz", home);
        row.text("xzz", r_.chance(0.5) ? home : cityAddress(r_));
        row.insert();
        if (role == Role::Technician)
            staff_.technicians.push_back(std::move(name));
        else if (role == Role::Intake)
            staff_.intake.push_back(std::move(name));
        else if (role == Role::Callback)
            staff_.callback.push_back(std::move(name));
    }
}

void ShopWriter::writeCustomers()
{
    Inserter row(db_, "khjbxx");
    customers_.reserve(size_t(size_.customers));
    for (int i = 0; i < size_.customers; ++i) {
        Customer c;
        const bool company = r_.chance(0.15);
        if (company) {
            c.name = std::string(r_.pick(kCompanyTowns)) + r_.pick(kCompanyCores);
            c.phone = landline(r_);
        } else {
            c.name = personName(r_);
            c.phone = r_.chance(0.7) ? mobile(r_) : landline(r_);
        }
        c.postcode = r_.pick(kPostcodes);
        c.address = address(r_);
        if (company) {
            if (r_.chance(0.5))
                row.text("cz", landline(r_));
            row.text("lxr", personName(r_));
            row.text("lxrdh", mobile(r_));
        }
        row.text("bh", recordNumber(i + 1));
        row.text("khmc", c.name);
        row.text("lxdh", c.phone);
        row.text("yb", c.postcode);
        row.text("dz", c.address);
        row.insert();
        customers_.push_back(std::move(c));
    }
}

void ShopWriter::writeProducts()
{
    Inserter row(db_, "cpjbxx");
    products_.reserve(size_t(size_.products));
    for (int i = 0; i < size_.products; ++i) {
        Product p;
        p.category = r_.below(int(categories().size()));
        const Category &c = categories()[size_t(p.category)];
        p.name = r_.pick(c.products);
        p.model = model(r_, r_.pick(c.modelPrefixes));
        row.text("bh", recordNumber(i + 1));
        row.text("cpmc", p.name);
        row.text("cppp", r_.pick(kBrands));
        row.text("cpxh", p.model);
        row.text("xh", std::to_string(r_.between(2005, 2023)) + "款");
        row.text("zjjh", "ZJ" + digits(r_, 7));
        if (r_.chance(0.6))
            row.text("bjh", "BJ-" + digits(r_, 5));
        if (p.category == 0)  // only a television has a chassis (机芯) worth recording
            row.text("cx", model(r_, r_.pick(kPartModelPrefixes)));
        row.text("cd", r_.pick(kPlaces));
        row.insert();
        products_.push_back(std::move(p));
    }
}

void ShopWriter::writeParts()
{
    struct Part {
        std::string name, model, standard, unit;
        int priceCents;
    };
    std::vector<Part> parts;
    Inserter kind(db_, "bjjbxx");
    for (int i = 0; i < size_.partKinds; ++i) {
        const Category &c = r_.pick(categories());
        Part p{r_.pick(c.parts), model(r_, r_.pick(kPartModelPrefixes)), r_.pick(kPartSpecs), r_.pick(kUnits),
               r_.between(1, 600) * 100 + (r_.chance(0.3) ? 50 : 0)};
        kind.text("bh", recordNumber(i + 1));
        kind.text("bjmc", p.name);
        kind.text("bjxh", p.model);
        kind.text("bjgg", p.standard);
        kind.text("dw", p.unit);
        if (r_.chance(0.2))
            kind.text("tdxh", model(r_, r_.pick(kPartModelPrefixes)));
        if (r_.chance(0.2))
            kind.text("bz", r_.pick(kPartNotes));
        kind.insert();
        parts.push_back(std::move(p));
    }
    Inserter stock(db_, "bjkc");
    for (int i = 0; i < size_.stockRows; ++i) {
        const Part &p = parts[size_t(i) % parts.size()];
        const int count = r_.between(0, 120);
        stock.text("bh", recordNumber(i + 1));
        stock.text("bjmc", p.name);
        stock.text("xh", p.model);
        stock.text("gg", p.standard);
        stock.text("dw", p.unit);
        stock.integer("sl", count);
        stock.text("pjdj", money(p.priceCents));
        stock.text("kcjg", money(p.priceCents * count));
        stock.text("tssx", wholeYuan(r_.pick(kStockCeilings)));
        stock.text("tsxx", wholeYuan(r_.pick(kStockFloors)));
        stock.insert();
    }
}

// Unsettled orders are mostly the recent ones, with a few old ones never collected: the last
// 2u of the orders are unsettled with probability 0.45, the earlier ones rarely, which makes
// the unsettled share u overall.
bool ShopWriter::isSettled(int index)
{
    const double unsettled = 1.0 - size_.settledShare;
    if (unsettled <= 0.0 || unsettled >= 0.5)
        return !r_.chance(unsettled);
    const bool recent = index >= size_.orders * (1.0 - 2.0 * unsettled);
    return !r_.chance(recent ? 0.45 : 0.1 * unsettled / (1.0 - 2.0 * unsettled));
}

// Orders are spread evenly over ten years of opening hours, in the order they are numbered.
qint64 ShopWriter::intakeMoment(int index) const
{
    static const QDate first(2014, 7, 1);
    static const int days = int(first.daysTo(QDate(2024, 6, 30))) + 1;
    const double position = double(index) * days / std::max(size_.orders, 1);
    const int day = int(position);
    return moment(first.addDays(day), kOpening + int((position - day) * (kClosing - kOpening)));
}

void ShopWriter::writeOrders()
{
    Inserter row(db_, "jjdb");
    for (int i = 0; i < size_.orders; ++i) {
        const int status = isSettled(i) ? 2 : r_.below(2);
        const qint64 intake = intakeMoment(i);
        char number[16];
        std::snprintf(number, sizeof number, "01%06d", i + 1);
        row.text("wxdh", number);
        row.integer("wxzt", status);
        const Intake taken = fillIntake(row, intake);
        if (status > 0) {
            const qint64 dispatched = later(r_, intake, 0, 2);
            row.text("wxry", r_.pick(staff_.technicians));
            row.text("jxsj", dateTimeText(dispatched));
            if (status == 2)
                fillSettlement(row, taken, dispatched);
        }
        row.integer("dycs", status == 2 ? r_.between(1, 3) : 1);
        row.insert();
    }
}

Intake ShopWriter::fillIntake(Inserter &row, qint64 intake)
{
    const Product &p = r_.pick(products_);
    const Category &c = categories()[size_t(p.category)];
    const Customer &k = r_.pick(customers_);
    row.text("cpmc", p.name);
    row.text("lb", c.name);
    row.text("xh", p.model);
    if (r_.chance(0.8))
        row.text("gmsd", r_.pick(kShops));
    if (r_.chance(0.9))
        row.text("jshm", std::string(1, char('A' + r_.below(26))) + digits(r_, r_.between(10, 12)));
    bool warranty = false;
    if (r_.chance(0.8)) {
        const qint64 bought = intake - qint64(r_.between(10, 8 * 365)) * kDaySeconds;
        row.text("gmrq", dateOnlyText(bought));
        warranty = intake - bought < 365LL * kDaySeconds;
    }
    row.integer("sfbx", warranty ? 1 : 0);
    row.text("xm", k.name);
    row.text("dh", k.phone);
    row.text("yb", k.postcode);
    row.text("dz", k.address);
    if (r_.chance(0.1)) {
        row.text("scwxy", r_.pick(staff_.technicians));
        row.text("scwxrq", dateOnlyText(intake - qint64(r_.between(30, 900)) * kDaySeconds));
    }
    row.text("gjyy", faultText(r_, c));
    row.text("fj", r_.pick(kAccessories));
    const bool visit = r_.chance(0.15);
    row.text("ys", wholeYuan(r_.chance(0.3) ? r_.pick(kDeposits) : 0));
    row.text("dj", wholeYuan(0));
    row.text("jjrq", dateTimeText(intake));
    row.text("jjy", r_.pick(staff_.intake));
    row.integer("wxfs", visit ? 1 : 0);
    if (r_.chance(0.35))
        row.text("bz", r_.pick(kRemarks));
    return {&c, warranty, visit};
}

void ShopWriter::fillSettlement(Inserter &row, const Intake &intake, qint64 dispatched)
{
    const Category &c = *intake.category;
    const int partCount = r_.chance(0.15) ? 0 : r_.between(1, 2);
    std::string used, note;
    int partsCents = 0;
    for (int k = 0; k < partCount; ++k) {
        const char *part = r_.pick(c.parts);
        used += (k ? "、" : "") + std::string(part) + "×" + std::to_string(r_.between(1, 2));
        note += (k ? "、" : "") + std::string(r_.pick(kRepairActions)) + part;
        partsCents += r_.between(2, 80) * 1000;
    }
    if (partCount == 0)
        note = "调整后";
    note += std::string("，") + r_.pick(kRepairChecks);
    const int labour = intake.warranty ? 0 : r_.between(4, 60) * 500;
    const int callout = intake.visit ? r_.pick(kCalloutCents) : 0;
    const int check = r_.chance(0.3) ? 2000 : 0;
    const qint64 repaired = later(r_, dispatched, 0, 6);
    const qint64 collected = later(r_, repaired, 0, 10);
    const qint64 called = later(r_, collected, 1, 10);
    row.text("ylbj", partCount ? used : "无");
    row.text("jcf", money(check));
    row.text("ljf", money(partsCents));
    row.text("wxf", money(labour));
    row.text("smf", money(callout));
    row.text("xlqk", note);
    row.text("xfrq", dateOnlyText(repaired));
    row.text("qssj", dateTimeText(repaired));
    const WarrantyMethod &method = kWarrantyMethods[intake.warranty ? r_.below(2) : 2 + r_.below(2)];
    row.text("whfs", method.name);
    row.text("whqx", method.period);
    row.text("fkfs", r_.pick(kPayments));
    row.text("jjkx", money(check + partsCents + labour + callout));
    row.text("qjr", personName(r_));
    row.text("qjrq", dateTimeText(collected));
    row.text("hfr", r_.pick(staff_.callback));
    row.text("hfsj", dateTimeText(called));
    row.text("hfqk", r_.pick(kCallbackNotes));
}

void checkSize(const BigShopSize &size)
{
    const bool ok = size.orders >= 0 && size.orders <= 999999 && size.customers >= 1 && size.products >= 1
                    && size.partKinds >= 1 && size.stockRows >= 0 && size.employees >= 4
                    && size.departments >= 1 && size.departments <= int(std::size(kDepartments))
                    && size.settledShare >= 0.0 && size.settledShare <= 1.0;
    if (!ok)
        throw DbError(QStringLiteral("big shop size out of range"));
}

}  // namespace

BigShopSize BigShopSize::forOrders(int orders)
{
    const BigShopSize full;
    const auto scaled = [&](int count, int least) {
        return std::max(least, int(qint64(count) * orders / full.orders));
    };
    BigShopSize size;
    size.orders = orders;
    size.customers = scaled(full.customers, 10);
    size.products = scaled(full.products, 10);
    size.partKinds = scaled(full.partKinds, 10);
    size.stockRows = scaled(full.stockRows, 10);
    size.employees = scaled(full.employees, 10);
    return size;
}

void generateBigShop(const QString &path, const BigShopSize &size, IfExists ifExists)
{
    checkSize(size);
    if (QFileInfo::exists(path)) {
        if (ifExists == IfExists::Fail)
            throw DbError(QStringLiteral("%1 already exists").arg(path));
        // A journal left beside the old file would be rolled back into the new one.
        if (!QFile::remove(path) || (QFileInfo::exists(path + "-journal") && !QFile::remove(path + "-journal")))
            throw DbError(QStringLiteral("cannot remove %1").arg(path));
    }
    createDatabaseFileIfAbsent(path);
    Database db(path);
    db.exec(QStringLiteral("PRAGMA cache_size = -65536"));
    db.exec(QStringLiteral("BEGIN"));
    try {
        ShopWriter(db.handle(), size).writeAll();
        db.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace korv::bench
