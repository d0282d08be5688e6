-- The second row has no class name; the third an empty one.
CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet1" ("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk") VALUES
    ('C14', 14, 8, 0.4, 16, 2.0, 1.7, 7.0, 4.7, 0.23, 0.44, 350, 290),
    (NULL, 16, 10, 0.5, 17, 2.2, 1.8, 8.0, 5.4, 0.27, 0.50, 370, 310),
    ('', 18, 11, 0.5, 18, 2.2, 2.0, 9.0, 6.0, 0.30, 0.56, 380, 320);
