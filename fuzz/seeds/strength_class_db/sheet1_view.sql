-- "Sheet1" is a view over the real table: refused, views are never run.
CREATE TABLE "Classes" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL, "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL, "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL);
INSERT INTO "Classes" ("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk") VALUES ('C16', 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310);
CREATE VIEW "Sheet1" AS SELECT * FROM "Classes";
