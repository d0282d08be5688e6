-- The strength-class table of EN338-2016.mdb: EN 338:2016, softwood C14 to
-- C50 (Table 1) and hardwood D18 to D80 (the hardwood table, numbered Table 3
-- by one source only), in the standard's order, which is the order of the
-- class list. Same table and fields as ZU5ZO.mdb, plus "Material".
--
-- Units: strengths N/mm2, moduli kN/mm2, densities kg/m3. "Ek" is E0,05.
-- Values as cross-checked from public sources (no text of the standard):
-- - C35 fc,90,k 2.7 from three sources; one gives 2.8.
-- - C45 fc,90,k 2.9 from two sources; one gives 3.9, taken for a slip.
-- - D27, D45, D55, D65, D75, D80: ft,0,k, ft,90,k, fc,0,k and E90,mean are
--   ONE SOURCE each (the other eight fields of these rows have two).
-- - D40 E0,mean 13.0 from four sources; one gives 13.6.

CREATE TABLE "Sheet1" (
    "ID" INTEGER PRIMARY KEY,
    "Class" TEXT NOT NULL,
    "fm,k" REAL NOT NULL,
    "ft,0,k" REAL NOT NULL,
    "ft,90,k" REAL NOT NULL,
    "fc,0,k" REAL NOT NULL,
    "fc,90,k" REAL NOT NULL,
    "fv,k" REAL NOT NULL,
    "E0,mean" REAL NOT NULL,
    "Ek" REAL NOT NULL,
    "E90,mean" REAL NOT NULL,
    "Gmean" REAL NOT NULL,
    "rmean" REAL NOT NULL,
    "rk" REAL NOT NULL,
    "Material" TEXT NOT NULL CHECK ("Material" IN ('softwood', 'hardwood', 'glulam'))
);

INSERT INTO "Sheet1" ("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k",
                      "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk", "Material") VALUES
    ('C14', 14, 7.2, 0.4, 16, 2.0, 3.0, 7.0, 4.7, 0.23, 0.44, 350, 290, 'softwood'),
    ('C16', 16, 8.5, 0.4, 17, 2.2, 3.2, 8.0, 5.4, 0.27, 0.5, 370, 310, 'softwood'),
    ('C18', 18, 10.0, 0.4, 18, 2.2, 3.4, 9.0, 6.0, 0.3, 0.56, 380, 320, 'softwood'),
    ('C20', 20, 11.5, 0.4, 19, 2.3, 3.6, 9.5, 6.4, 0.32, 0.59, 400, 330, 'softwood'),
    ('C22', 22, 13.0, 0.4, 20, 2.4, 3.8, 10.0, 6.7, 0.33, 0.63, 410, 340, 'softwood'),
    ('C24', 24, 14.5, 0.4, 21, 2.5, 4.0, 11.0, 7.4, 0.37, 0.69, 420, 350, 'softwood'),
    ('C27', 27, 16.5, 0.4, 22, 2.5, 4.0, 11.5, 7.7, 0.38, 0.72, 430, 360, 'softwood'),
    ('C30', 30, 19.0, 0.4, 24, 2.7, 4.0, 12.0, 8.0, 0.4, 0.75, 460, 380, 'softwood'),
    ('C35', 35, 22.5, 0.4, 25, 2.7, 4.0, 13.0, 8.7, 0.43, 0.81, 470, 390, 'softwood'),
    ('C40', 40, 26.0, 0.4, 27, 2.8, 4.0, 14.0, 9.4, 0.47, 0.88, 480, 400, 'softwood'),
    ('C45', 45, 30.0, 0.4, 29, 2.9, 4.0, 15.0, 10.1, 0.5, 0.94, 490, 410, 'softwood'),
    ('C50', 50, 33.5, 0.4, 30, 3.0, 4.0, 16.0, 10.7, 0.53, 1.0, 520, 430, 'softwood'),
    ('D18', 18, 11.0, 0.6, 18, 4.8, 3.5, 9.5, 8.0, 0.63, 0.59, 570, 475, 'hardwood'),
    ('D24', 24, 14.0, 0.6, 21, 4.9, 3.7, 10.0, 8.4, 0.67, 0.63, 580, 485, 'hardwood'),
    ('D27', 27, 16.0, 0.6, 22, 5.1, 3.8, 10.5, 8.8, 0.7, 0.66, 610, 510, 'hardwood'), -- one source: ft,0,k ft,90,k fc,0,k E90,mean
    ('D30', 30, 18.0, 0.6, 24, 5.3, 3.9, 11.0, 9.2, 0.73, 0.69, 640, 530, 'hardwood'),
    ('D35', 35, 21.0, 0.6, 25, 5.4, 4.1, 12.0, 10.1, 0.8, 0.75, 650, 540, 'hardwood'),
    ('D40', 40, 24.0, 0.6, 27, 5.5, 4.2, 13.0, 10.9, 0.87, 0.81, 660, 550, 'hardwood'),
    ('D45', 45, 27.0, 0.6, 29, 5.8, 4.4, 13.5, 11.3, 0.9, 0.84, 700, 580, 'hardwood'), -- one source: ft,0,k ft,90,k fc,0,k E90,mean
    ('D50', 50, 30.0, 0.6, 30, 6.2, 4.5, 14.0, 11.8, 0.93, 0.88, 740, 620, 'hardwood'),
    ('D55', 55, 33.0, 0.6, 32, 6.6, 4.7, 15.5, 13.0, 1.03, 0.97, 790, 660, 'hardwood'), -- one source: ft,0,k ft,90,k fc,0,k E90,mean
    ('D60', 60, 36.0, 0.6, 33, 10.5, 4.8, 17.0, 14.3, 1.13, 1.06, 840, 700, 'hardwood'),
    ('D65', 65, 39.0, 0.6, 35, 11.3, 5.0, 18.5, 15.5, 1.23, 1.16, 900, 750, 'hardwood'), -- one source: ft,0,k ft,90,k fc,0,k E90,mean
    ('D70', 70, 42.0, 0.6, 36, 12.0, 5.0, 20.0, 16.8, 1.33, 1.25, 960, 800, 'hardwood'),
    ('D75', 75, 45.0, 0.6, 37, 12.8, 5.0, 22.0, 18.5, 1.47, 1.38, 1020, 850, 'hardwood'), -- one source: ft,0,k ft,90,k fc,0,k E90,mean
    ('D80', 80, 48.0, 0.6, 38, 13.5, 5.0, 24.0, 20.2, 1.6, 1.5, 1080, 900, 'hardwood'); -- one source: ft,0,k ft,90,k fc,0,k E90,mean
