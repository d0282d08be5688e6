-- Values a design cannot read, and some it can: texts with units, the other
-- separator, empty texts, NULLs, integers, values beyond single precision and
-- below it, negative zero.
CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet1" ("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk") VALUES
    ('C16', '16 N', 10, 0.5, 17, NULL, 1.8, 8, 5.4, 0.27, 0.5, 3.5e38, 310),
    ('C18', 18, 11, 0.5, 18, '2,2', '2.0', 9, 6, 0.3, 0.56, 1e-50, 320),
    ('C20', '', 12, 0.5, 19, 2.3, 2.2, -0.0, 6.4, 0.32, 0.59, 390, NULL),
    ('C22', 22, 13, 0.5, 20, 2.4, 2.4, 10, 6.7, 0.33, 0.63, 410.000000001, 340),
    ('C24', 9223372036854775807, 14, 0.5, 21, 2.5, 2.5, 1e300, 7.4, 0.37, 0.69, -420, 350);
