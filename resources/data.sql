-- Reference database of pipecalc: corrugated tubes, fiberglass tubes,
-- pipe materials and soils.
--
-- The build turns this file into Base/data.sqlite beside the executables
-- (tool pipecalc-mkdb).  The program only reads that file.  Every table is
-- read with "select * from <table>" and its rows are shown in the order in
-- which they are stored here, so keep each table sorted as it should appear.
--
-- Units follow the input variables of the calculations: diameters of
-- corrugated tubes in metres, their wall and corrugation in millimetres;
-- every dimension of fiberglass tubes in metres; moduli and strengths in MPa;
-- unit weights in kN/m3; angles in degrees.
--
-- The CHECK constraints keep the data consistent: a row that breaks one of
-- them stops the build.

PRAGMA encoding = 'UTF-8';

------------------------------------------------------------------------------
-- Corrugated double-wall tubes (smooth inside, corrugated outside).
--
-- Sizes are the outside-diameter series of
--   ГОСТ Р 54475-2011 "Трубы полимерные со структурированной стенкой и
--   фасонные части к ним для систем наружной канализации" (structured
--   wall with a smooth inner and a profiled outer surface), and
--   EN 13476-3 "Plastics piping systems for non-pressure underground drainage
--   and sewerage - Structured-wall piping systems of PVC-U, PP and PE"
--   (its pipes and fittings with a smooth internal and a profiled external
--   surface, type B),
-- ring stiffness class SN 8 (ISO 9969).  Every inside diameter is above the
-- minimum that EN 13476-3 sets for its outside diameter (about 335 mm for
-- OD 400 mm, about 1005 mm for OD 1200 mm) and within the range of the
-- catalogues of Russian makers of double-wall PE and PP sewer pipe
-- ("Корсис" of the Polyplastic group, "Прагма").
--
-- s is the thickness of the shell of the corrugation, Lv the width of one
-- corrugation and Lsh the pitch (corrugation plus gap), all in mm.  The
-- height of the corrugation is (Dout - Din) / 2.  The row for OD 400 mm
-- holds the program's default tube.
------------------------------------------------------------------------------
CREATE TABLE Tubes (
    TubeId INTEGER PRIMARY KEY,
    Dout   REAL NOT NULL,
    Din    REAL NOT NULL,
    s      REAL NOT NULL,
    Lv     REAL NOT NULL,
    Lsh    REAL NOT NULL,
    CHECK (Din > 0 AND Dout > Din),
    CHECK (s > 0 AND Lv > 2 * s AND Lsh > Lv),
    -- the corrugation is higher than its shell is thick
    CHECK ((Dout - Din) * 1000 / 2 > 2 * s)
);

--                            Dout    Din    s     Lv     Lsh
INSERT INTO Tubes VALUES ( 1, 0.110, 0.095, 0.8,   9.0,  12.5);
INSERT INTO Tubes VALUES ( 2, 0.125, 0.107, 0.9,  10.5,  14.0);
INSERT INTO Tubes VALUES ( 3, 0.160, 0.139, 1.1,  12.5,  17.0);
INSERT INTO Tubes VALUES ( 4, 0.200, 0.174, 1.3,  15.0,  20.5);
INSERT INTO Tubes VALUES ( 5, 0.250, 0.217, 1.5,  18.5,  25.0);
INSERT INTO Tubes VALUES ( 6, 0.315, 0.273, 1.7,  22.0,  29.0);
INSERT INTO Tubes VALUES ( 7, 0.400, 0.348, 2.0,  26.1,  33.5);
INSERT INTO Tubes VALUES ( 8, 0.500, 0.433, 2.5,  33.0,  42.0);
INSERT INTO Tubes VALUES ( 9, 0.630, 0.546, 3.0,  41.0,  53.0);
INSERT INTO Tubes VALUES (10, 0.800, 0.692, 3.6,  52.0,  67.0);
INSERT INTO Tubes VALUES (11, 1.000, 0.865, 4.2,  64.0,  83.0);
INSERT INTO Tubes VALUES (12, 1.200, 1.040, 5.0,  76.0, 100.0);

------------------------------------------------------------------------------
-- Fiberglass (glass-fibre reinforced thermosetting plastic, GRP) tubes with
-- a three-layer wall: two fiberglass layers of thickness s around a core of
-- thickness t (distance between the layers).  D is the mean diameter.
--
-- TypeID 0: stiffness class SN 5000 (material 4);
-- TypeID 1: stiffness class SN 10000 (material 5).
--
-- Nominal sizes and stiffness classes after
--   ГОСТ Р 54560-2011 "Трубы и детали трубопроводов из реактопластов,
--   армированных стекловолокном, для водоснабжения, водоотведения, дренажных и
--   канализационных систем. Технические условия",
--   ISO 10467 / EN 14364 (GRP piping systems for drainage and sewerage with
--   or without pressure) and ISO 10639 (GRP piping systems for water supply).
-- The wall build-ups are sized so that the initial specific ring stiffness
-- E*I/D^3 (E = 25000 MPa, I of the two fiberglass layers about the middle of
-- the wall) reaches the nominal class, which gives total walls in the range
-- of the catalogues of centrifugally cast and filament-wound GRP pipe (about
-- 15 mm for DN 1000 SN 5000, about 19 mm for DN 1000 SN 10000).
------------------------------------------------------------------------------
CREATE TABLE TubesSt (
    TubeStId INTEGER PRIMARY KEY,
    TypeID   INTEGER NOT NULL CHECK (TypeID IN (0, 1)),
    D        REAL NOT NULL CHECK (D > 0),
    s        REAL NOT NULL CHECK (s > 0 AND s < D / 20),
    t        REAL NOT NULL CHECK (t > 0 AND t < D / 10)
);

--                      TypeID  D      s       t
INSERT INTO TubesSt VALUES ( 1, 0, 0.3, 0.0016, 0.0030);
INSERT INTO TubesSt VALUES ( 2, 0, 0.4, 0.0018, 0.0034);
INSERT INTO TubesSt VALUES ( 3, 0, 0.5, 0.0021, 0.0040);
INSERT INTO TubesSt VALUES ( 4, 0, 0.6, 0.0024, 0.0047);
INSERT INTO TubesSt VALUES ( 5, 0, 0.8, 0.0031, 0.0061);
INSERT INTO TubesSt VALUES ( 6, 0, 1.0, 0.0038, 0.0076);
INSERT INTO TubesSt VALUES ( 7, 0, 1.2, 0.0046, 0.0091);
INSERT INTO TubesSt VALUES ( 8, 0, 1.4, 0.0053, 0.0106);
INSERT INTO TubesSt VALUES ( 9, 0, 1.6, 0.0061, 0.0122);
INSERT INTO TubesSt VALUES (10, 0, 2.0, 0.0076, 0.0152);
INSERT INTO TubesSt VALUES (11, 0, 2.4, 0.0091, 0.0182);
INSERT INTO TubesSt VALUES (12, 1, 0.3, 0.0018, 0.0035);
INSERT INTO TubesSt VALUES (13, 1, 0.4, 0.0020, 0.0040);
INSERT INTO TubesSt VALUES (14, 1, 0.5, 0.0025, 0.0048);
INSERT INTO TubesSt VALUES (15, 1, 0.6, 0.0029, 0.0058);
INSERT INTO TubesSt VALUES (16, 1, 0.8, 0.0038, 0.0077);
INSERT INTO TubesSt VALUES (17, 1, 1.0, 0.0048, 0.0096);
INSERT INTO TubesSt VALUES (18, 1, 1.2, 0.0058, 0.0115);
INSERT INTO TubesSt VALUES (19, 1, 1.4, 0.0067, 0.0134);
INSERT INTO TubesSt VALUES (20, 1, 1.6, 0.0077, 0.0154);
INSERT INTO TubesSt VALUES (21, 1, 2.0, 0.0096, 0.0192);
INSERT INTO TubesSt VALUES (22, 1, 2.4, 0.0115, 0.0230);

------------------------------------------------------------------------------
-- Pipe materials.  Ids 4 and 5 are the fiberglass materials: choosing one
-- switches the program to the fiberglass calculation and lists the
-- fiberglass tubes of TypeID 0 (id 4) or 1 (id 5).  The other ids are
-- polymers for corrugated tubes.
--
-- Eo_MPa      short-term modulus of elasticity;
-- Etau_MPa    long-term (creep) modulus at the end of the service life;
-- Mu          Poisson's ratio;
-- Sigmao_MPa  short-term design strength.  For fiberglass the program takes
--             half of it as the long-term bending strength.
--
-- Polymers: grades PE 80 and PE 100 after ГОСТ 18599-2001 and ISO 12162,
-- polypropylene grades used for structured-wall sewer pipe after
-- ГОСТ Р 54475-2011 and EN 13476-1; the property values are of the order of
-- the design characteristics in СП 40-102-2000 "Проектирование и монтаж
-- трубопроводов систем водоснабжения и канализации из полимерных
-- материалов" and of the data sheets of pipe-grade resins.  Material 1 holds
-- the program's default material.
--
-- Fiberglass: hoop properties of glass-fibre reinforced polyester pipe wall,
-- of the order of the values in AWWA Manual M45 "Fiberglass Pipe Design" and
-- in the catalogues of GRP pipe makers.  Both classes share the laminate;
-- their stiffness differs by the wall build-up in TubesSt.  They give the
-- program's defaults for the fiberglass calculation (Et 20000 MPa,
-- Sigmat 500 MPa, Mu 0.3).
------------------------------------------------------------------------------
CREATE TABLE Materials (
    TubeMaterialId INTEGER PRIMARY KEY,
    Descr          TEXT NOT NULL,
    Eo_MPa         REAL NOT NULL,
    Etau_MPa       REAL NOT NULL,
    Mu             REAL NOT NULL CHECK (Mu > 0 AND Mu < 0.5),
    Sigmao_MPa     REAL NOT NULL CHECK (Sigmao_MPa > 0),
    CHECK (Etau_MPa > 0 AND Etau_MPa <= Eo_MPa)
);

INSERT INTO Materials VALUES (1, 'Полиэтилен ПЭ 100',                       1150,   280, 0.32,   20);
INSERT INTO Materials VALUES (2, 'Полиэтилен ПЭ 80',                         900,   210, 0.35,   16);
INSERT INTO Materials VALUES (3, 'Полипропилен блоксополимер PP-B',          1400,   330, 0.36,   24);
INSERT INTO Materials VALUES (4, 'Стеклопластик SN 5000',                   25000, 20000, 0.30, 1000);
INSERT INTO Materials VALUES (5, 'Стеклопластик SN 10000',                  25000, 20000, 0.30, 1000);
INSERT INTO Materials VALUES (6, 'Полипропилен высокомодульный PP-HM',      1800,   420, 0.36,   28);

------------------------------------------------------------------------------
-- Soils of the trench backfill and of the ground around the pipe.
--
-- Gamma_kN_m3  unit weight;
-- Egr_MPa      deformation modulus of the backfill in the pipe zone at the
--              usual compaction of the sides of the trench;
-- Fi           angle of internal friction, degrees;
-- Kk           coefficient of correspondence of the trenchless laying
--              calculation (read only for trenchless laying).
--
-- Soil names after ГОСТ 25100-2020 "Грунты. Классификация".  Unit weights
-- and friction angles are in the ranges of the standard values for sands and
-- clayey soils of medium density in СП 22.13330.2016 "Основания зданий и
-- сооружений" (appendix of standard strength and deformation properties).
-- The moduli are those of backfill, lower than of undisturbed ground of the
-- same kind.  All values are typical for preliminary design; the project
-- takes them from the site investigation.  Soil 4 holds the program's
-- default soil.
------------------------------------------------------------------------------
CREATE TABLE Soiles (
    SoilId      INTEGER PRIMARY KEY,
    Descr       TEXT NOT NULL,
    Gamma_kN_m3 REAL NOT NULL CHECK (Gamma_kN_m3 > 0),
    Egr_MPa     REAL NOT NULL CHECK (Egr_MPa > 0),
    Fi          REAL NOT NULL CHECK (Fi > 0 AND Fi < 90),
    Kk          REAL NOT NULL CHECK (Kk > 0)
);

INSERT INTO Soiles VALUES (1, 'Щебень, гравий',                   20.5, 25, 40, 1.0);
INSERT INTO Soiles VALUES (2, 'Песок гравелистый и крупный',      20.0, 18, 38, 1.0);
INSERT INTO Soiles VALUES (3, 'Песок средней крупности',          19.5, 12, 35, 1.1);
INSERT INTO Soiles VALUES (4, 'Песок мелкий',                     19.0,  5, 30, 1.3);
INSERT INTO Soiles VALUES (5, 'Песок пылеватый',                  19.0,  4, 28, 1.3);
INSERT INTO Soiles VALUES (6, 'Супесь',                           19.5,  3, 24, 1.4);
INSERT INTO Soiles VALUES (7, 'Суглинок',                         19.5,  2.5, 20, 1.5);
INSERT INTO Soiles VALUES (8, 'Глина',                            19.0,  2, 16, 1.6);
