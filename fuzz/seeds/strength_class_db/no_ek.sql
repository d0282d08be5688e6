-- No "Ek", which only the material data window shows: the main window lists
-- and selects, the material data window's open names the missing field.
CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL,
    "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL,
    "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet1" VALUES (1, 'C16', 16, 10, 0.5, 17, 2.2, 1.8, 8, 0.27, 0.5, 370, 310);
INSERT INTO "Sheet1" VALUES (2, 'C24', 24, 14, 0.5, 21, 2.5, 2.5, 11, 0.37, 0.69, 420, 350);
