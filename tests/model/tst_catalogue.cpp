#include "model/CalcViews.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <QtTest>

namespace {

struct Row
{
    int slot;
    const char *key;
    const char *name;
    double value;
    const char *format;
    const char *units;
    bool mark;
    const char *description;
};

// The catalogue as the user must see it, copied out row by row.
const Row kExpected[] = {
    {1, "Din", "Dвнутр", 0.348, "0.###", "м", false, "Внутренний диаметр трубопровода"},
    {2, "Dout", "Dнаруж", 0.4, "0.###", "м", false, "Наружный диаметр трубопровода"},
    {3, "s", "s", 2, "0.###", "мм", false, "Толщина оболочки"},
    {4, "Lv", "Lв", 26.1, "0.###", "мм", false, "Ширина гофра"},
    {5, "Lsh", "Lш", 33.5, "0.###", "мм", false, "Шаг гофра"},
    {6, "Htr", "Hтр", 6, "0.###", "м", false, "Глубина заложения от поверхности земли"},
    {7, "Eo", "Eo", 1150, "0.###", "МПа", true, "Кратковременный модуль упругости"},
    {8, "Etau", "Et", 280, "0.###", "МПа", true, "Долговременный модуль упругости"},
    {9, "Mu", "m", 0.32, "0.###", "", true, "Коэффициент Пуассона материала трубы"},
    {10, "Sigmao", "so", 20, "0.###", "МПа", true, "Кратковременная расчётная прочность"},
    {11, "Gamma", "g", 19, "0.###", "кН/м^3", true, "Удельный вес грунта"},
    {12, "Egr", "Eгр", 5, "0.###", "МПа", false, "Модуль деформации грунта в пазухах траншеи"},
    {13, "m", "m", 20, "0.###", "10^3 кг", false, "Масса на одну ось транспортного средства"},
    {14, "F", "F", 0.38, "0.###", "м^2", false, "Площадь опирания колеса"},
    {15, "P", "P", 0, "0.0##", "МПа", false, "Давление колеса транспортного средства на грунт"},
    {16, "Hw", "Hв", 4, "0.###", "м", false,
     "Глубина уровня грунтовых вод от поверхности земли (0 и меньше — грунтовых вод нет)"},
    {17, "S_cond", "", 0, "0.###", "", false, "Величина для проверки условия прочности"},
    {18, "MaterialNo", "", 1, "#", "", false, "Материал трубопровода"},
    {19, "MaterialGradeA", "", 1, "#", "", false, "Первая марка материала трубопровода"},
    {20, "MaterialGradeB", "", 1, "#", "", false, "Вторая марка материала трубопровода"},
    {21, "e", "e", 0, "0.###", "мм", false, "Высота гофра"},
    {22, "y", "y", 0, "0.0##", "см", false, "Координата \\\"y\\\" центра тяжести"},
    {23, "I", "I", 0, "0.0##", "см^4", false, "Момент инерции поперечного сечения кольца относительно центральной оси"},
    {24, "A", "A", 0, "0.0##", "см^2", false, "Площадь поперечного сечения кольца"},
    {25, "D", "D", 0, "0.0##", "см", false, "Диаметр окружной центральной линии кольца"},
    {26, "qc", "qc", 0, "0.0##", "МПа", false, "Суммарная внешняя вертикальная нагрузка"},
    {27, "Go", "Go", 0, "0.0##", "МПа", false, "Кратковременная кольцевая жесткость оболочки трубы"},
    {28, "Psi_gr", "Psi_гр", 0, "0.0##", "", false,
     "Относительное укорочение вертикального диаметра трубы под действием грунтовой нагрузки"},
    {29, "Psi_t", "Psi_т", 0, "0.0##", "", false,
     "Относительное укорочение вертикального диаметра трубы под действием транспортных нагрузок"},
    {30, "Psi_m", "Psi_м", 0, "0.0##", "", false,
     "Относительное укорочение вертикального диаметра трубы, образовавшееся в процессе складирования, транспортировки "
     "и монтажа"},
    {31, "Psi", "Psi", 0, "0.0##", "", false,
     "Суммарное относительное укорочение вертикального диаметра трубы в грунте"},
    {32, "Eps_p", "Eps_p", 0, "0.0##", "", false,
     "Максимальное значение деформации материала в стенке трубы из-за овальности поперечного сечения трубы под "
     "действием грунтов и транспортных нагрузок"},
    {33, "Eps_c", "Eps_c", 0, "0.0##", "", false,
     "Степень сжатия материала стенки трубы от воздействия внешних нагрузок на трубопровод"},
    {34, "Eps_pp", "Eps_pp", 0, "0.0##", "", false,
     "Предельно допустимое значение деформации растяжения материала в стенке трубы, происходящей в условиях релаксаций "
     "напряжений"},
    {35, "Eps_pn", "Eps_pn", 0, "0.0##", "", false,
     "Предельно допустимая деформация растяжения материала в стенке трубы в условиях ползучести"},
    {36, "qgr", "q_гр", 0, "0.###", "МПа", false, "Грунтовая нагрузка"},
    {37, "qt", "qt", 0, "0.0##", "МПа", false, "Транспортная нагрузка"},
    {38, "Qgv", "Qгв", 0, "0.###", "МПа", false,
     "Внешнее давление грунтовых вод на уровне горизонтального диаметра трубы"},
    {39, "qvn", "qвш", 0, "0.0##", "МПа", false, "Суммарное внешнее давление на трубу"},
    {40, "qvntr", "qвш", 0, "0.0##", "МПа", false,
     "Суммарное внешнее давление на трубу при учёте транспортной нагрузки"},
    {41, "qust", "q_уст", 0, "0.###", "МПа", false, "Допускаемое значение внешнего давления из условия устойчивости"},
    {42, "n", "n", 0, "0.0##", "", false, "Коэффициент, учитывающий глубину заложения трубопровода"},
    {43, "Gammav", "Gammav", 0, "0.###", "кН/м^3", false,
     "Удельный вес взвешенного в воде грунта; он же — в давлении грунтовых вод"},
    {44, "Gtau", "Gtau", 0, "0.0##", "МПа", false, "Длительная кольцевая жесткость на единицу длины трубы"},
    {45, "GammaGrSt", "g", 16, "0.###", "кН/м^3", true, "Объемный вес грунта засыпи"},
    {46, "h", "h", 0, "0.###", "м", false, "Расстояние по вертикали от верха трубы до поверхности грунта"},
    {47, "DSt", "D", 0.3, "0.###", "м", false, "Средний диаметр трубы"},
    {48, "fi", "j", 30, "0.###", "°", true, "Угол внутреннего трения грунта"},
    {49, "Qtr", "q_тр", 0, "0.###", "МПа", false, "Нагрузка от транспорта"},
    {50, "Et", "Et", 20000, "0.###", "МПа", true,
     "Долговременный модуль упругостипри растяжении материала трубы на конец срока службы"},
    {51, "t", "t", 0.024, "0.#########", "м", false, "Расстояние между слоями из стеклопластика"},
    {52, "sSt", "s", 0.012, "0.#########", "м", false, "Толщина слоя стеклопластика"},
    {53, "Sigmat", "st", 500, "0.###", "МПа", true,
     "Долговременная прочность стеклопластика при изгибе в окружном направлении"},
    {54, "MuSt", "m", 0.3, "0.###", "", true,
     "Коэффициент Пуассона стеклопластика при растяжении в окружном направлении"},
    {55, "EtauSvSt", "Et_sv", 1250, "0.###", "МПа", false,
     "Долговременный модуль упругости связующего в стеклопластике (при отсутствии данных может быть принят за 1250 "
     "Мпа)"},
    {56, "M", "M", 0, "0.###", "т", false, "Масса на одну ось транспортного средства над стеклопластиковой трубой"},
    {57, "FSt", "F", 0, "0.###", "м^2", false, "Площадь опирания колеса над стеклопластиковой трубой"},
    {58, "EgrSt", "Eгр", 7, "0.###", "МПа", false, "Модуль деформации грунта"},
    {59, "Hv", "Hв", 0, "0.###", "м", false,
     "Глубина уровня грунтовых вод от поверхности земли (0 — грунтовых вод нет)"},
    {60, "Kk", "Kk", 1.3, "0.###", "", false, "Коэффициент соответствия"},
    {61, "Mras", "Мрас", 0, "0.######", "kН*м", false, "Наибольший расчетный изгибающий момент"},
    {62, "Mpr", "Мпр", 0, "0.######", "kН*м", false, "Предельный изгибающий момент"},
    {63, "psiSt", "psi", 0, "0.######", "", true, "Относительное укорочение вертикального диаметра трубы"},
    {64, "gc", "gc", 0, "0.######", "МПа", false, "Суммарная вертикальная нагрузка на трубу от грунта и транспорта"},
    {65, "QgvSt", "Qгв", 0, "0.######", "МПа", false,
     "Давление грунтовых вод на уровне горизонтального диаметра трубы"},
    {66, "Gy", "[g]y", 0, "0.######", "МПа", false, "Допустимая интенсивность внешних нагрузок"},
    {67, "Rs", "Rs", 0, "0.###", "м", false, "Гидравлический радиус потока"},
    {68, "a", "a", 0, "0.###", "", false, "Эмпирический показатель степени"},
    {69, "Ls", "l", 0, "0.###", "", true, "Коэффициент гидравлического трения по длине трубопровода"},
    {70, "i_s", "is", 0.02, "0.###", "", false, "Уклон самотечного трубопровода"},
    {71, "hs_d", "hs/d", 1, "0.0##", "", false, "Наполнение трубопровода"},
    {72, "bs", "bs", 0, "0.###", "", false, "Начальный показатель степени в законе сопротивления"},
    {73, "bs_end", "bs", 0, "0.###", "", false, "Уточнённый показатель степени в законе сопротивления"},
    {74, "g", "g", 9.81, "0.###", "м/с^2", false, "Ускорение свободного падения"},
    {75, "V", "V", 0, "0.###", "м^2/с^2", false,
     "Квадрат средней скорости потока при полном заполнении трубопровода, 8·g·is·Rs/l"},
    {76, "Requ", "Requ", 0, "0.###", "", false, "Число Рейнольдса Re_кв"},
    {77, "Rephi", "Rephi", 0, "0.###", "", false, "Число Рейнольдса Re_phi"},
    {78, "Vnf", "Vnf", 0, "0.###", "м/с", false,
     "Средняя скорость течения жидкости при неполном заполнении трубопровода"},
    {79, "Vf_begin", "Vf", 0, "0.###", "м^2/с^2", false,
     "Начальное значение для уточнения скорости при полном заполнении: скорость в степени bs"},
    {80, "Vf_end", "Vf", 0, "0.###", "м/с", false,
     "Средняя скорость течения жидкости при полном заполнении трубопровода"},
    {81, "nu", "n", 0.00000149, "0.##########", "м^2/с", true, "Коэффициент кинематической вязкости"},
    {82, "Rsnf_Rsf", "Rsnf_Rsf", 0, "0.###", "", false, "Отношение гидравлических радиусов"},
    {83, "qs", "qs", 0, "0.###", "л/c", false, "Расход жидкости"},
    {84, "Kw_h", "Kw", 0, "0.###", "м^2", true, "Живое сечение трубопровода"},
    {85, "Kzu", "Kzu", 0, "0.###", "", false, "Коэффициент запаса на устойчивость"},
    {86, "Kok", "Kok", 0, "0.0#", "", false, "Коэффициент, учитывающий процесс округления овализованной трубы"},
    {87, "Ktau", "Ktau", 0, "0.0#", "", false,
     "Коэффициент, учитывающий запаздывание овальности поперечного сечения трубы во времени"},
    {88, "Kw", "Kw", 0, "0.0#", "", false, "Коэффициент прогиба, учитывающий качество подготовки ложа и уплотнения"},
    {89, "Kgr", "Kgr", 0, "0.0#", "", false,
     "Коэффициент, учитывающий влияние грунта засыпки на овальность поперечного сечения трубопровода"},
    {90, "Kg", "Kg", 0, "0.0#", "", false,
     "Коэффициент, учитывающий влияние кольцевой жёсткости оболочки трубы на овальность поперечного сечения "
     "трубопровода"},
    {91, "Ksigma", "Ksigma", 0, "0.0#", "", false,
     "Коэффициент постели грунта для изгибающих напряжений, учитывающий качество уплотнения"},
    {92, "Kzpsi", "Kzpsi", 0, "0.0#", "", false, "Коэффициент запаса на овальность поперечного сечения трубы"},
    {93, "Kz", "Kz", 0, "0.0#", "", false, "Коэффициент запаса, должен приводиться в нормативных документах"},
    {94, "Ku", "Ku", 0, "0.0#", "", false, "Коэффициент уплотнения грунта"},
    {95, "Ke", "Ke", 0.02, "0.###", "мм", false, "Коэффициент эквивалентной шероховатости"},
    {96, "Kug", "Куг", 0, "0.0##", "", false,
     "коэффициент, учитывающий влияние засыпки грунта на устойчивость оболочки"},
    {97, "Kov", "Ков", 0, "0.0##", "", false, "Коэффициент, учитывающий овальность трубы"},
};

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

bool isLatin(QChar c)
{
    return c.unicode() < 128;
}

bool isCyrillic(QChar c)
{
    return c.unicode() >= 0x400 && c.unicode() < 0x500;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void freshVariable()
    {
        Variable v;
        QVERIFY(v.name().isEmpty());
        QCOMPARE(v.value(), 0.0);
        QVERIFY(v.format().isEmpty());
        QVERIFY(v.description().isEmpty());
        QVERIFY(v.units().isEmpty());
        QVERIFY(!v.hasSymbolMark());

        v.setValue(-2.5);
        QCOMPARE(v.value(), -2.5);
        v.setValue(0.0);
        QCOMPARE(v.value(), 0.0);
    }

    void freshSet()
    {
        CalcVariables vars;
        QCOMPARE(int(vars.mode), 0);
        QCOMPARE(vars.selectedMaterialId, -1);
        QCOMPARE(vars.selectedSoilId, -1);
        for (int n = 1; n <= SlotKeys::Count; ++n) {
            QCOMPARE(vars.at(n).value(), 0.0);
            QVERIFY(vars.at(n).name().isEmpty());
        }
    }

    void everyRow_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kExpected)); ++i)
            QTest::newRow(kExpected[i].key) << i;
    }

    void everyRow()
    {
        QFETCH(int, index);
        const Row &row = kExpected[index];
        CalcVariables vars;
        vars.applyCatalogue();

        // Key and number reach the same variable.
        const auto slot = SlotKeys::fromKey(u(row.key));
        QVERIFY(slot.has_value());
        QCOMPARE(SlotKeys::number(*slot), row.slot);
        QCOMPARE(SlotKeys::key(row.slot), u(row.key));
        QCOMPARE(&vars[*slot], &vars.at(row.slot));

        const Variable &v = vars.at(row.slot);
        QCOMPARE(v.name(), u(row.name));
        QCOMPARE(v.value(), row.value);
        QCOMPARE(v.format(), u(row.format));
        QCOMPARE(v.units(), u(row.units));
        QCOMPARE(v.hasSymbolMark(), row.mark);
        QCOMPARE(v.description(), u(row.description));
    }

    void tableIsComplete()
    {
        QCOMPARE(int(std::size(kExpected)), SlotKeys::Count);
        int marks = 0;
        QStringList unnamed;
        CalcVariables vars;
        vars.applyCatalogue();
        for (int n = 1; n <= SlotKeys::Count; ++n) {
            if (vars.at(n).hasSymbolMark())
                ++marks;
            if (vars.at(n).name().isEmpty())
                unnamed << SlotKeys::key(n);
        }
        QCOMPARE(marks, 14);
        QCOMPARE(unnamed, (QStringList{"S_cond", "MaterialNo", "MaterialGradeA", "MaterialGradeB"}));
    }

    // Each variable says what it is in words of its own: two rows of the grid
    // never read alike in the status bar.
    void descriptionsAreDistinct()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        QHash<QString, QString> seen;
        for (int n = 1; n <= SlotKeys::Count; ++n) {
            const QString description = vars.at(n).description();
            QVERIFY2(!seen.contains(description),
                     qPrintable(SlotKeys::key(n) + QStringLiteral(" repeats ") + seen.value(description)));
            seen.insert(description, SlotKeys::key(n));
        }
    }

    void keysAreCaseSensitive()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        QVERIFY(&vars[Slot::m] != &vars[Slot::M]);
        QCOMPARE(vars[Slot::m].value(), 20.0);
        QCOMPARE(vars[Slot::M].value(), 0.0);
        QVERIFY(!SlotKeys::fromKey(QStringLiteral("din")).has_value());
        QVERIFY(!SlotKeys::fromKey(QString()).has_value());
        QVERIFY(SlotKeys::key(0).isEmpty());
        QVERIFY(SlotKeys::key(SlotKeys::Count + 1).isEmpty());
    }

    // Letters that look alike are different characters, and the user reads them.
    void lookalikeLetters()
    {
        CalcVariables vars;
        vars.applyCatalogue();

        const QString knm = vars[Slot::Mras].units();
        QCOMPARE(knm.size(), 4);
        QVERIFY(isLatin(knm[0]));
        QVERIFY(isCyrillic(knm[1]));
        QCOMPARE(knm, vars[Slot::Mpr].units());

        const QString lps = vars[Slot::qs].units();
        QCOMPARE(lps.size(), 3);
        QVERIFY(isCyrillic(lps[0]));
        QCOMPARE(lps[2], QLatin1Char('c'));

        for (const Slot s : {Slot::Mras, Slot::Mpr, Slot::Kug, Slot::Kov}) {
            const QString name = vars[s].name();
            QVERIFY2(std::all_of(name.begin(), name.end(), isCyrillic), qPrintable(name));
        }
        // Latin up to the Cyrillic part or the underscore.
        for (const Slot s : {Slot::Din, Slot::Dout, Slot::Lv, Slot::Htr, Slot::Egr, Slot::Hw, Slot::Qgv, Slot::qvn}) {
            const QString name = vars[s].name();
            QVERIFY2(isLatin(name[0]) && isCyrillic(name[1]), qPrintable(name));
        }
        for (const Slot s : {Slot::Psi_gr, Slot::qgr, Slot::qust, Slot::Qtr}) {
            const QString name = vars[s].name();
            const int bar = name.indexOf(QLatin1Char('_'));
            QVERIFY(bar > 0);
            QVERIFY(std::all_of(name.begin(), name.begin() + bar + 1, isLatin));
            QVERIFY(isCyrillic(name[bar + 1]));
        }
        QCOMPARE(vars[Slot::fi].units(), QString(QChar(0xB0)));
    }

    void descriptionsAsStored()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        const QString y = vars[Slot::y].description();
        QCOMPARE(y.size(), 31);
        QCOMPARE(y.count(QLatin1Char('\\')), 2);
        QVERIFY(y.contains(QStringLiteral("\\\"y\\\"")));
        QVERIFY(vars[Slot::Et].description().contains(QStringLiteral("упругостипри")));
        QVERIFY(vars[Slot::Kug].description().startsWith(QStringLiteral("коэффициент")));
        QVERIFY(vars[Slot::EtauSvSt].description().endsWith(QStringLiteral("1250 Мпа)")));
    }

    // What the grids show right after start-up.
    void defaultTexts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("Dout") << "Dout"
                              << "0,4";
        QTest::newRow("Din") << "Din"
                             << "0,348";
        QTest::newRow("i_s") << "i_s"
                             << "0,02";
        QTest::newRow("hs_d") << "hs_d"
                              << "1,0";
        QTest::newRow("nu") << "nu"
                            << "0,00000149";
        QTest::newRow("Ke") << "Ke"
                            << "0,02";
        QTest::newRow("P") << "P"
                           << "0,0";
        QTest::newRow("MaterialNo") << "MaterialNo"
                                    << "1";
        QTest::newRow("Et") << "Et"
                            << "20000";
        QTest::newRow("t") << "t"
                           << "0,024";
        QTest::newRow("Kk") << "Kk"
                            << "1,3";
    }

    void defaultTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        CalcVariables vars;
        vars.applyCatalogue();
        QCOMPARE(vars[*SlotKeys::fromKey(key)].formatValue(), text);
    }

    void views()
    {
        auto keys = [](const QVector<Slot> &rows) {
            QStringList out;
            for (const Slot s : rows)
                out << SlotKeys::key(s);
            return out;
        };
        QCOMPARE(keys(CalcViews::inputRows(CalcView::Hydraulic)),
                 (QStringList{"Dout", "Din", "i_s", "hs_d", "nu", "Ke"}));
        QCOMPARE(keys(CalcViews::outputRows(CalcView::Hydraulic)), (QStringList{"Vnf", "qs"}));
        QCOMPARE(keys(CalcViews::inputRows(CalcView::Static)),
                 (QStringList{"Din", "Dout", "s", "Lv", "Lsh", "Htr", "Eo", "Etau", "Mu", "Sigmao", "Gamma", "Egr", "F",
                              "m", "Hw"}));
        QCOMPARE(keys(CalcViews::outputRows(CalcView::Static)), (QStringList{"S_cond", "qust", "qgr", "qvntr"}));
        const QStringList trench{"GammaGrSt", "h",      "DSt",  "M",        "FSt",   "Et", "t",
                                 "sSt",       "Sigmat", "MuSt", "EtauSvSt", "EgrSt", "Hv"};
        QCOMPARE(keys(CalcViews::inputRows(CalcView::Fiberglass, false)), trench);
        QStringList trenchless = trench;
        trenchless.insert(3, QStringLiteral("fi"));
        trenchless << QStringLiteral("Kk");
        QCOMPARE(keys(CalcViews::inputRows(CalcView::Fiberglass, true)), trenchless);
        QCOMPARE(keys(CalcViews::outputRows(CalcView::Fiberglass)),
                 (QStringList{"Mras", "Mpr", "psiSt", "gc", "QgvSt", "Gy"}));
        QCOMPARE(CalcViews::headerText(CalcView::Fiberglass), CalcViews::headerText(CalcView::Static));
    }
};

QTEST_APPLESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
