-- The strength-class table of EN14080.mdb: the glued laminated timber classes
-- of EN 14080:2013, homogeneous GL20h to GL32h (Table 5, numbered so by one
-- source only) and combined GL20c to GL32c (Table 4: [unverified]), in the
-- standard's order. Same table and fields as ZU5ZO.mdb, plus "Material";
-- fm,k stands for fm,g,k and so on. G0,05 (0.54 for every class) has no field.
--
-- Units: strengths N/mm2, moduli kN/mm2, densities kg/m3. "Ek" is E0,g,05.
-- Values as cross-checked from public sources (no text of the standard):
-- - GL20c: ft,0,k, fc,0,k, E0,mean, Ek, rmean and rk are ONE SOURCE; another
--   gives 15.5, 8.3, 6.9, 370 and 340 for fc,0,k, E0,mean, Ek, rmean, rk.
-- - Every other row has two or more sources agreeing.

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
    ('GL20h', 20, 16.0, 0.5, 20.0, 2.5, 3.5, 8.4, 7.0, 0.3, 0.65, 370, 340, 'glulam'),
    ('GL22h', 22, 17.6, 0.5, 22.0, 2.5, 3.5, 10.5, 8.8, 0.3, 0.65, 410, 370, 'glulam'),
    ('GL24h', 24, 19.2, 0.5, 24.0, 2.5, 3.5, 11.5, 9.6, 0.3, 0.65, 420, 385, 'glulam'),
    ('GL26h', 26, 20.8, 0.5, 26.0, 2.5, 3.5, 12.1, 10.1, 0.3, 0.65, 445, 405, 'glulam'),
    ('GL28h', 28, 22.3, 0.5, 28.0, 2.5, 3.5, 12.6, 10.5, 0.3, 0.65, 460, 425, 'glulam'),
    ('GL30h', 30, 24.0, 0.5, 30.0, 2.5, 3.5, 13.6, 11.3, 0.3, 0.65, 480, 430, 'glulam'),
    ('GL32h', 32, 25.6, 0.5, 32.0, 2.5, 3.5, 14.2, 11.8, 0.3, 0.65, 490, 440, 'glulam'),
    ('GL20c', 20, 15.0, 0.5, 18.5, 2.5, 3.5, 10.4, 8.6, 0.3, 0.65, 390, 355, 'glulam'), -- one source, see above
    ('GL22c', 22, 16.0, 0.5, 20.0, 2.5, 3.5, 10.4, 8.6, 0.3, 0.65, 390, 355, 'glulam'),
    ('GL24c', 24, 17.0, 0.5, 21.5, 2.5, 3.5, 11.0, 9.1, 0.3, 0.65, 400, 365, 'glulam'),
    ('GL26c', 26, 19.0, 0.5, 23.5, 2.5, 3.5, 12.0, 10.0, 0.3, 0.65, 420, 385, 'glulam'),
    ('GL28c', 28, 19.5, 0.5, 24.0, 2.5, 3.5, 12.5, 10.4, 0.3, 0.65, 420, 390, 'glulam'),
    ('GL30c', 30, 19.5, 0.5, 24.5, 2.5, 3.5, 13.0, 10.8, 0.3, 0.65, 430, 390, 'glulam'),
    ('GL32c', 32, 19.5, 0.5, 24.5, 2.5, 3.5, 13.5, 11.2, 0.3, 0.65, 440, 400, 'glulam');
