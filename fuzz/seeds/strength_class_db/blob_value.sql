-- Binary data in a shown field is refused; in the free key it is ignored.
CREATE TABLE "Sheet1" ("ID" BLOB, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL,
    "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL,
    "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet1" VALUES (x'0102', 'C16', 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310);
INSERT INTO "Sheet1" VALUES (2, 'C18', x'31382e30', 11, 0.5, 18, 2.2, 2.0, 9, 6, 0.3, 0.56, 380, 320);
