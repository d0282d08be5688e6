-- The table under another name: the open must fail with "no table Sheet1".
CREATE TABLE "Sheet2" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Sheet2" ("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk") VALUES ('C16', 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310);
